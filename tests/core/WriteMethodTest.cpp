// The rule that chooses between renaming a new file into place, writing in
// place and refusing, fact by fact.
#include <gtest/gtest.h>

#include "files/WriteMethod.h"

using files::ChooseWriteMethod;
using files::SaveTargetFacts;
using files::WriteMethod;

namespace {

/// An existing file that a rename may replace: every later case changes
/// one or two facts of it.
SaveTargetFacts PlainFile() {
    SaveTargetFacts f;
    f.exists = f.regularFile = f.writable = f.folderWritable = true;
    return f;
}

}  // namespace

TEST(WriteMethod, RenamesOnlyWhenANewFileKeepsEverything) {
    struct Case {
        const char* name;
        void (*change)(SaveTargetFacts&);
        WriteMethod expected;
    };
    const Case cases[] = {
        {"plain file", [](SaveTargetFacts&) {}, WriteMethod::ReplaceByRename},
        {"folder not writable", [](SaveTargetFacts& f) { f.folderWritable = false; },
         WriteMethod::WriteInPlace},
        {"hard links", [](SaveTargetFacts& f) { f.linked = true; }, WriteMethod::WriteInPlace},
        {"owner or group cannot be kept", [](SaveTargetFacts& f) { f.ownerMismatch = true; },
         WriteMethod::WriteInPlace},
        {"extended attributes", [](SaveTargetFacts& f) { f.extendedAttributes = true; },
         WriteMethod::WriteInPlace},
        {"several reasons at once",
         [](SaveTargetFacts& f) {
             f.linked = true;
             f.folderWritable = false;
         },
         WriteMethod::WriteInPlace},
        {"read-only file", [](SaveTargetFacts& f) { f.writable = false; }, WriteMethod::Refuse},
        {"read-only file with links",
         [](SaveTargetFacts& f) {
             f.writable = false;
             f.linked = true;
         },
         WriteMethod::Refuse},
        {"not a regular file", [](SaveTargetFacts& f) { f.regularFile = false; },
         WriteMethod::Refuse},
        {"new file",
         [](SaveTargetFacts& f) {
             f = SaveTargetFacts{};
             f.folderWritable = true;
         },
         WriteMethod::ReplaceByRename},
        {"new file, folder not writable", [](SaveTargetFacts& f) { f = SaveTargetFacts{}; },
         WriteMethod::Refuse},
    };
    for (const Case& c : cases) {
        SaveTargetFacts facts = PlainFile();
        c.change(facts);
        EXPECT_EQ(ChooseWriteMethod(facts), c.expected) << c.name;
    }
}
