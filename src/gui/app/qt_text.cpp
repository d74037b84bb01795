#include "gui/app/qt_text.h"

#include "core/text/text.h"

namespace culvora::gui {

QString fromCp(std::string_view cp1252)
{
    const std::string utf8 = text::toUtf8(cp1252);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString shownForMessage(std::string_view cp1252)
{
    const std::string utf8 = text::shownForMessage(cp1252);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

Result<std::string> toCp(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return text::fromUtf8(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString toQString(const Error& error)
{
    return QString::fromStdString(error.message);
}

}  // namespace culvora::gui
