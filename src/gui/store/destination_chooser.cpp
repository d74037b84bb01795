#include "gui/store/destination_chooser.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "core/store/cookbook_list.h"
#include "gui/app/geometry.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"

namespace culvora::gui {

namespace {

QString confirmCaption(ChooserMode mode)
{
    switch (mode) {
    case ChooserMode::Move: return QStringLiteral("Move");
    case ChooserMode::Import: return QStringLiteral("Import");
    case ChooserMode::Download: break;
    }
    return QStringLiteral("Download");
}

}  // namespace

DestinationChooser::DestinationChooser(AppContext& app, QWidget* parent)
    : QWidget(parent),
      app_(app)
{
    setObjectName(forms::kDestination);
    setWindowTitle(QStringLiteral("Add recipe"));

    auto* label =
        new QLabel(QStringLiteral("Please tell me where you want to put this recipe..."), this);
    label->setObjectName(QStringLiteral("Label1"));
    books_ = new QComboBox(this);
    books_->setObjectName(QStringLiteral("Combo1"));
    label->setBuddy(books_);
    checkIngredients_ = new QCheckBox(QStringLiteral("Check for new ingredients"), this);
    checkIngredients_->setObjectName(QStringLiteral("Check1"));

    confirmButton_ = new QPushButton(confirmCaption(mode_), this);
    confirmButton_->setObjectName(QStringLiteral("Command1"));
    confirmButton_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    for (auto* b : {confirmButton_, cancel}) b->setMinimumWidth(twips(1300));
    connect(confirmButton_, &QPushButton::clicked, this, &DestinationChooser::confirm);
    connect(cancel, &QPushButton::clicked, this, [this] { app_.windows.closeWindow(this); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirmButton_);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(6);
    layout->addWidget(label);
    layout->addWidget(books_);
    layout->addWidget(checkIngredients_);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    // A long cookbook title is cut short in the box rather than widening the window.
    books_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    books_->setMinimumContentsLength(28);
    books_->setMinimumWidth(twips(4500));
    books_->view()->setTextElideMode(Qt::ElideMiddle);
    books_->view()->setMinimumWidth(twips(4500));

    auto entries = store::CookbookList(app.state.folder).read();
    if (!entries) {
        app.services.prompter.inform(toQString(entries.error()), QStringLiteral("Error"));
    } else {
        const auto titles = store::sortedTitles(*entries);
        for (const auto& title : titles) {
            books_->addItem(fromCp(title),
                            QByteArray(title.data(), static_cast<qsizetype>(title.size())));
        }
        // The current cookbook is preselected; when it is not listed the first title is.
        const int row = store::currentTitleRow(titles, *entries, app.state.currentCookbookFile);
        books_->setCurrentIndex(books_->count() > 0 ? std::max(row, 0) : -1);
    }
    confirmButton_->setEnabled(books_->count() > 0);
}

void DestinationChooser::setOperation(ChooserMode mode, QTimer* timer)
{
    mode_ = mode;
    timer_ = timer;
    confirmButton_->setText(confirmCaption(mode));
    const bool download = mode == ChooserMode::Download;
    if (!download) checkIngredients_->setChecked(false);
    checkIngredients_->setEnabled(download);
}

void DestinationChooser::confirm()
{
    if (books_->currentIndex() < 0) return;
    if (mode_ == ChooserMode::Download) {
        app_.state.checkNewIngredients = checkIngredients_->isChecked();
    }
    app_.state.targetBookTitle = books_->currentData().toByteArray().toStdString();
    // The operation runs from the opener's timer, so the chooser is gone before it starts.
    QPointer<QTimer> timer = timer_;
    app_.windows.closeWindow(this);
    if (timer) timer->start();
}

}  // namespace culvora::gui
