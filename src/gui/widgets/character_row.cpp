#include "gui/widgets/character_row.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include <array>

namespace culvora::gui {

namespace {

// °, ¼, ½, ¾ and ±: Windows-1252 and Latin-1 agree on them, so the files can hold them.
constexpr std::array<char16_t, 5> kCharacters = {0xB0, 0xBC, 0xBD, 0xBE, 0xB1};

}  // namespace

CharacterRow::CharacterRow(const QMargins& margins, QSize buttonSize, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("characterRow"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(margins);
    row->setSpacing(6);
    auto* insertLabel = new QLabel(QStringLiteral("Insert:"), this);
    insertLabel->setObjectName(QStringLiteral("Label2"));
    insertLabel->setProperty("heading", true);
    row->addWidget(insertLabel);
    for (std::size_t i = 0; i < kCharacters.size(); ++i) {
        const QString character(QChar(kCharacters[i]));
        auto* b = new QPushButton(character, this);
        b->setObjectName(QStringLiteral("Command%1").arg(6 + static_cast<int>(i)));
        b->setProperty("character", true);
        b->setFixedSize(buttonSize);
        b->setToolTip(QStringLiteral("Type %1 where the cursor is").arg(character));
        b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QPushButton::clicked, this, [this, character] { emit chosen(character); });
        row->addWidget(b);
    }
    row->addStretch();
    hide();
}

}  // namespace culvora::gui
