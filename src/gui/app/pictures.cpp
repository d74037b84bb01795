#include "gui/app/pictures.h"

#include <QFileInfo>
#include <QGuiApplication>

namespace culvora::gui {

QPixmap loadPicture(const ProgramFolder& folder, const QString& name, qreal devicePixelRatio)
{
    const QString dir = QString::fromStdString(folder.path().string());
    if (devicePixelRatio <= 0) devicePixelRatio = qApp ? qApp->devicePixelRatio() : 1.0;
    if (devicePixelRatio > 1.0) {
        const QString base = QFileInfo(name).completeBaseName();
        QPixmap sharp(dir + QStringLiteral("/pics/hidpi/") + base + QStringLiteral("@2x.png"));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2.0);
            return sharp;
        }
    }
    return QPixmap(dir + QLatin1Char('/') + name);
}

}  // namespace culvora::gui
