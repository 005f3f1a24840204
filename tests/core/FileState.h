// What the tests see of real files where the systems differ: what makes a
// file the same file, and holding a file open as another program would.
#pragma once

#include <cstdint>
#include <string>

/// What an in-place save must leave as it was: on POSIX the inode, links,
/// owner, group and mode; on Windows the file index, links and attributes.
struct Identity {
    uint64_t file = 0;
    uint64_t links = 0;
    uint32_t owner = 0;
    uint32_t group = 0;
    uint32_t mode = 0;  // the permission bits, or the Windows attributes
    bool operator==(const Identity&) const = default;
};
Identity IdentityOf(const std::string& path);

#ifdef _WIN32
/// Windows file attributes, by their values in the system's headers.
constexpr uint32_t kReadOnly = 0x1;
constexpr uint32_t kHidden = 0x2;
constexpr uint32_t kSystem = 0x4;
constexpr uint32_t kArchive = 0x20;
void SetAttributes(const std::string& path, uint32_t attributes);
/// Whether another program could open the file for reading now.
bool CanBeRead(const std::string& path);
#endif

/// Holds a file as another program that writes it would: an exclusive lock
/// on POSIX (the one saves take), a handle open for writing on Windows.
class HeldFile {
public:
    explicit HeldFile(const std::string& path);
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    ~HeldFile();
    bool IsHeld() const { return m_handle != -1; }

private:
    intptr_t m_handle = -1;
};
