# The floors of the tree, lowest first:
#   platform  value types, the host interfaces, memory for the image
#   files     the file layer: loading and safe saves
#   rules     plain functions and tables that need no view: the text forms
#             of bytes, the search's patterns and matcher, command numbers,
#             the command-line and file-name rules
#   core      document/, view/, commands/, app/: CHexView and the program
#   hosts     headless, qt, win32, each on its own
# Each floor is a library that sees its own folders and what the libraries
# it links publish, nothing else: its include path is a folder of links to
# exactly those source folders, so that an include of a higher floor (or of
# another host) fails to compile.

# bytewren_floor(TARGET FOLDER...): TARGET's sources, and those of every
# target linking it, find the headers of the given folders of src/.
function(bytewren_floor target)
    set(root ${CMAKE_BINARY_DIR}/floors/${target})
    foreach(folder ${ARGN})
        get_filename_component(parent ${root}/${folder} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
    endforeach()
    target_include_directories(${target} PUBLIC ${root})
endfunction()

# bytewren_header_check(TARGET GLOB...): every header the globs match
# compiles on its own with no more than TARGET's include path, one generated
# translation unit each, so that a header that reaches above its floor fails
# the build even when no source of its floor includes it.
function(bytewren_header_check target)
    file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/src ${ARGN})
    set(units)
    foreach(header ${headers})
        string(MAKE_C_IDENTIFIER ${header} unit)
        set(unit ${CMAKE_BINARY_DIR}/header_check/${unit}.cpp)
        file(CONFIGURE OUTPUT ${unit} CONTENT "#include \"${header}\"\n")
        list(APPEND units ${unit})
    endforeach()
    if(units)
        add_library(${target}_header_check OBJECT ${units})
        target_link_libraries(${target}_header_check PRIVATE ${target})
    endif()
endfunction()
