// How a save may write its file: the decision alone, from facts gathered by
// the file layer, so that it can be read and tested on its own.
#pragma once

namespace files {

/// What decides the method. Each fact after `writable` is a reason why a
/// new file renamed over the old one would lose something the old file has.
struct SaveTargetFacts {
    bool exists = false;
    bool regularFile = false;
    bool writable = false;            // this process may write the file
    bool folderWritable = false;      // a new file can be made beside it
    bool linked = false;              // other names (hard links) would keep the old bytes
    bool ownerMismatch = false;       // a new file could not get its owner, group and mode
    bool extendedAttributes = false;  // attributes or ACLs a new file would not carry
};

enum class WriteMethod {
    Refuse,           // the file cannot be written at all
    ReplaceByRename,  // write a new file beside it, then rename it over the old one
    WriteInPlace,     // copy the old contents to a backup, then overwrite the file
};

/// Renames where that keeps everything, writes in place where only that
/// does, refuses what cannot be written.
WriteMethod ChooseWriteMethod(const SaveTargetFacts& facts);

}  // namespace files
