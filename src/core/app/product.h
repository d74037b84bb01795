#pragma once

// The product's fixed web addresses, one place for all: the banner, the footers of the printed
// menu and of the pages and drinks the program writes, the forum button, and culvora-cli.

namespace culvora::app {

inline constexpr const char* kWebSite = "https://culvora.example.org/";
inline constexpr const char* kForum = "https://culvora.example.org/forum/";

}  // namespace culvora::app
