#include "gui/app/about_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/app/app_windows.h"
#include "gui/app/delivered_files.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/theme/theme.h"

namespace culvora::gui {

AboutWindow::AboutWindow(AppContext& app, QWidget* parent) : QWidget(parent)
{
    setObjectName(forms::kAbout);
    setWindowTitle(QStringLiteral("About"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 14);
    layout->setSpacing(10);

    auto* name = new QLabel(QStringLiteral("Culvora"), this);
    name->setObjectName(QStringLiteral("Label1"));
    QFont font = name->font();
    font.setPointSizeF(font.pointSizeF() * 1.8);
    font.setBold(true);
    name->setFont(font);
    name->setAlignment(Qt::AlignCenter);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(loadPicture(app.state, QStringLiteral("tavendi3.gif")));
    picture->setAlignment(Qt::AlignCenter);

    auto* version =
        new QLabel(QStringLiteral("Version 1.0 \u2014 a cookbook for the home kitchen"), this);
    version->setAlignment(Qt::AlignCenter);

    auto* warning = new QLabel(
        QStringLiteral("This program is free to use in your own kitchen. It comes without any "
                       "warranty: keep backups of your cookbooks. The recipes you write and the "
                       "pictures you add are your own."),
        this);
    warning->setObjectName(QStringLiteral("lblWarning"));
    warning->setWordWrap(true);
    theme::setInk(warning, theme::kSoftInk);

    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Command1"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, [this, &app] { app.windows.closeWindow(this); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);

    layout->addWidget(name);
    layout->addWidget(picture);
    layout->addWidget(version);
    layout->addWidget(warning);
    layout->addLayout(buttons);
    setFixedWidth(420);
}

void registerAppWindows(AppContext& app)
{
    app.windows.addFactory(forms::kAbout, [&app]() -> QWidget* {
        auto* about = new AboutWindow(app);
        app.windows.add(about, WindowKind::Dialog);
        app.windows.centerForm(about);
        return about;
    });
}

}  // namespace culvora::gui
