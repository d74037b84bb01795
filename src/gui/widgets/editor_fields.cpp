#include "gui/widgets/editor_fields.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextBlock>

#include "gui/theme/theme.h"

namespace culvora::gui {

QLabel* makeCaption(const QString& text, QWidget* buddy, QWidget* parent, const char* name)
{
    auto* label = new QLabel(text, parent);
    if (name) label->setObjectName(QLatin1String(name));
    label->setFont(theme::sansFont(10));
    if (buddy) label->setBuddy(buddy);
    return label;
}

QString boxText(const QPlainTextEdit* box)
{
    QStringList lines;
    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        lines << block.text();
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace culvora::gui
