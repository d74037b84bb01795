#include "gui/widgets/glass_list.h"

#include <QIcon>
#include <QLabel>

#include "core/drinks/glass_filter.h"
#include "gui/theme/theme.h"

namespace culvora::gui {

GlassList::GlassList(const std::function<QPixmap(int)>& picture, QWidget* parent)
    : DropDownList(parent)
{
    setObjectName(QStringLiteral("Combo1"));
    setMaxVisibleItems(drinks::GlassFilter::kGlassCount);
    setFont(theme::sansFont(10));
    setIconSize(QSize(18, 24));
    for (int glass = 0; glass < drinks::GlassFilter::kGlassCount; ++glass) {
        const std::string_view name =
            drinks::GlassFilter::kGlassNames[static_cast<std::size_t>(glass)];
        addItem(QIcon(picture(glass)),
                QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
    setCurrentIndex(-1);
}

QLabel* makeGlassPicture(QWidget* parent)
{
    auto* picture = new QLabel(parent);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setAlignment(Qt::AlignCenter);
    picture->setFixedSize(126, 166);
    picture->setProperty("glass", true);
    return picture;
}

}  // namespace culvora::gui
