// What the file readers' fuzzers share: a real file to read, and the promises every reader keeps
// about its errors and about what it accepts.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "employee/record_file.h"

namespace kestrel::fuzz {

inline void Check(bool condition) {
    if (!condition) __builtin_trap();
}

inline std::filesystem::path& FolderPath() {
    static std::filesystem::path path;
    return path;
}

// A folder of this run's own, on a memory file system where there is one; it goes when the run
// ends.
inline const std::filesystem::path& Folder() {
    std::filesystem::path& folder = FolderPath();
    if (folder.empty()) {
        std::error_code ignored;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, ignored)) {
            base = std::filesystem::temp_directory_path();
        }
        std::string pattern = (base / "kestrel-fuzz-XXXXXX").string();
        Check(::mkdtemp(pattern.data()) != nullptr);
        folder = pattern;
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(FolderPath(), error);
        });
    }
    return folder;
}

// Puts `bytes` into the file `name` of the folder, replacing what it held.
inline std::filesystem::path PutFile(std::string_view name, std::string_view bytes) {
    const std::filesystem::path file = Folder() / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    Check(!out.fail());
    return file;
}

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Lines as the reader counts them: LF, CR LF and a lone CR each end one.
inline std::size_t LineCount(std::string_view bytes) {
    std::size_t lines = 1;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' ||
            (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')))
            ++lines;
    }
    return lines;
}

// A read error names a place inside the file (or none, for a file that could not be read at all)
// and a reason fit for a message box or a terminal: printable ASCII only, whatever the file held.
inline void CheckError(const ReadError& error, std::string_view bytes) {
    Check(!error.reason.empty());
    Check((error.line == 0) == (error.field == 0));
    Check(error.line <= LineCount(bytes));
    for (char c : error.reason)
        Check(c >= 0x20 && c < 0x7F);
}

// What every reader promises about a file it accepted: blank lines after it are harmless, and
// anything else after it makes it a file of another kind. `accepts` reads a file and says whether
// it was taken whole.
template <class Accepts>
void CheckEnds(std::string_view name, std::string_view bytes, Accepts accepts) {
    std::string padded(bytes);
    padded += "\r\n \t\r\n";
    Check(accepts(PutFile(name, padded)));
    std::string longer(bytes);
    longer += "0\r\n";
    Check(!accepts(PutFile(name, longer)));
}

}  // namespace kestrel::fuzz
