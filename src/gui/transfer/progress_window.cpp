#include "gui/transfer/progress_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

#include "gui/app/geometry.h"
#include "gui/app/window_names.h"
#include "gui/theme/theme.h"

namespace culvora::gui {

ProgressWindow::ProgressWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(forms::kProgress);
    setWindowTitle(QStringLiteral("Writing the recipe pages"));
    setProperty("paper", true);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(theme::transferStyle());

    auto* text = new QLabel(QStringLiteral("Writing one page for every recipe..."), this);
    text->setObjectName(QStringLiteral("Label1"));
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("pb"));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setMinimumWidth(twips(4800));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 16);
    layout->setSpacing(10);
    layout->addWidget(text);
    layout->addWidget(bar_);
}

void ProgressWindow::setPercent(int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (percent == bar_->value()) return;
    bar_->setValue(percent);
    paintNow();
}

void ProgressWindow::paintNow()
{
    // The user's clicks wait until the pages are written.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int ProgressWindow::percent() const
{
    return bar_->value();
}

}  // namespace culvora::gui
