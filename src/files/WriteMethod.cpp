#include "files/WriteMethod.h"

namespace files {

WriteMethod ChooseWriteMethod(const SaveTargetFacts& f) {
    if (!f.exists) return f.folderWritable ? WriteMethod::ReplaceByRename : WriteMethod::Refuse;
    if (!f.regularFile || !f.writable) return WriteMethod::Refuse;
    const bool renameWouldLose =
        !f.folderWritable || f.linked || f.ownerMismatch || f.extendedAttributes;
    return renameWouldLose ? WriteMethod::WriteInPlace : WriteMethod::ReplaceByRename;
}

}  // namespace files
