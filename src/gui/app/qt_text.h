#pragma once

// The GUI's boundary with the data files: QString <-> UTF-8 <-> Windows-1252.

#include <QString>

#include <optional>
#include <string>
#include <string_view>

#include "core/error.h"

namespace culvora::gui {

QString fromCp(std::string_view cp1252);
// A name from a file or a server as a message shows it: control characters as \xNN and a
// runaway name cut with "…" (text::shownForMessage).
QString shownForMessage(std::string_view cp1252);
// Refuses a character Windows-1252 cannot hold; the error names it.
Result<std::string> toCp(const QString& text);
QString toQString(const Error& error);

}  // namespace culvora::gui
