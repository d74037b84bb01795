#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace culvora::testing {

// A fresh folder under the system's temp folder, removed again at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(std::string_view name) const { return path_ / name; }

    // Writes bytes exactly as given (use "\r\n" for line ends).
    void write(std::string_view name, std::string_view bytes) const;
    std::string read(std::string_view name) const;
    bool exists(std::string_view name) const;

private:
    std::filesystem::path path_;
};

// Reads a whole file as bytes; empty when it is missing.
std::string readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, std::string_view bytes);

// Joins lines, each followed by CR LF: crlf({"[NAMN]", "Soup"}) == "[NAMN]\r\nSoup\r\n".
std::string crlf(std::initializer_list<std::string_view> lines);

}  // namespace culvora::testing
