#include "gui/transfer/archive_wizard.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "gui/app/geometry.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/app/window_registry.h"
#include "gui/theme/theme.h"
#include "gui/transfer/progress_window.h"
#include "gui/widgets/clickable_label.h"
#include "gui/widgets/wait_cursor.h"

namespace culvora::gui {

namespace {

const QString kErrorTitle = QStringLiteral("Error");
constexpr QSize kPictureSize{150, 104};

QString stepText(int step)
{
    return step == 1 ? QStringLiteral("Step 1 of 3") : QStringLiteral("Step 2 of 3");
}

QLabel* textLabel(const QString& text, QWidget* parent, const char* name = nullptr)
{
    auto* label = new QLabel(text, parent);
    if (name) label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    return label;
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setMinimumWidth(twips(1500));
    return b;
}

// Image2 and Image3: a small web browser showing the archive with the list of recipes in a
// frame beside the recipe, or the list alone on its page.
QPixmap layoutPicture(bool frames, qreal ratio)
{
    QPixmap pixmap(kPictureSize * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(theme::kClear);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF window(1.5, 1.5, kPictureSize.width() - 3, kPictureSize.height() - 3);
    p.setPen(QPen(theme::kBrown, 1.5));
    p.setBrush(theme::archive::kWindow);
    p.drawRoundedRect(window, 5, 5);
    // The browser's title bar with its three buttons.
    p.setPen(Qt::NoPen);
    p.setBrush(theme::kLinen);
    p.drawRoundedRect(QRectF(2.5, 2.5, window.width() - 2, 13), 4, 4);
    p.drawRect(QRectF(2.5, 9, window.width() - 2, 6.5));
    for (int i = 0; i < 3; ++i) {
        p.setBrush(i == 0 ? theme::kTomato : theme::kBrown);
        p.drawEllipse(QPointF(10 + i * 8, 9), 2.3, 2.3);
    }
    const QColor& link = theme::archive::kLink;
    const QColor& text = theme::archive::kText;
    auto line = [&p](const QColor& colour, qreal x, qreal y, qreal width, qreal thick = 2.2) {
        p.setBrush(colour);
        p.drawRoundedRect(QRectF(x, y, width, thick), thick / 2, thick / 2);
    };
    const qreal top = 22;
    if (frames) {
        p.setBrush(theme::archive::kFrame);
        p.drawRect(QRectF(2.5, 16, 44, window.height() - 16));
        p.setPen(QPen(theme::kBrown, 1));
        p.drawLine(QPointF(47, 16), QPointF(47, window.bottom() - 1));
        p.setPen(Qt::NoPen);
        const qreal widths[] = {30, 24, 34, 20, 28, 32, 22, 26, 18, 30};
        for (int i = 0; i < 10; ++i) line(link, 8, top + i * 7.5, widths[i]);
        line(theme::kTitleInk, 56, top, 50, 4);
        for (int i = 0; i < 5; ++i) line(text, 56, top + 12 + i * 6, i == 2 ? 30 : 38);
        for (int i = 0; i < 7; ++i) line(text, 100, top + 12 + i * 6, i == 6 ? 22 : 40);
    } else {
        const qreal widths[] = {58, 44, 70, 36, 52, 64, 40, 56, 48, 30};
        for (int i = 0; i < 10; ++i) {
            line(link, 12, top + i * 7.5, widths[i]);
        }
    }
    return pixmap;
}

// Picture2: a patch of the chosen colour. Painted here, so the window's style sheet cannot
// paint over it.
class ColourSwatch : public QWidget {
public:
    explicit ColourSwatch(QWidget* parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(theme::kBrown, 1));
        p.setBrush(palette().color(QPalette::Window));
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    }
};

}  // namespace

ArchiveWizard::ArchiveWizard(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kArchive);
    setWindowTitle(QStringLiteral("Archive Wizard"));
    setProperty("paper", true);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(theme::transferStyle());

    stepLabel_ = new QLabel(stepText(1), this);
    stepLabel_->setObjectName(QStringLiteral("Label1"));
    stepLabel_->setProperty("heading", true);
    QFont big = stepLabel_->font();
    big.setPointSizeF(big.pointSizeF() * 1.25);
    stepLabel_->setFont(big);

    stepBar_ = new QProgressBar(this);
    stepBar_->setObjectName(QStringLiteral("bar"));
    stepBar_->setRange(0, 3);
    stepBar_->setValue(1);
    stepBar_->setTextVisible(false);
    stepBar_->setFixedWidth(twips(2400));

    panels_ = new QStackedWidget(this);
    step1_ = buildStep1();
    step2_ = buildStep2();
    step3_ = buildStep3();
    panels_->addWidget(step1_);
    panels_->addWidget(step2_);
    panels_->addWidget(step3_);

    previousButton_ = button("Command2", QStringLiteral("< Previous"), this);
    nextButton_ = button("Command1", QStringLiteral("Next >"), this);
    doneButton_ = button("Command3", QStringLiteral("Done"), this);
    connect(previousButton_, &QPushButton::clicked, this, &ArchiveWizard::goPrevious);
    connect(nextButton_, &QPushButton::clicked, this, &ArchiveWizard::goNext);
    connect(doneButton_, &QPushButton::clicked, this, &ArchiveWizard::generate);

    auto* top = new QHBoxLayout;
    top->addWidget(stepLabel_);
    top->addStretch();
    top->addWidget(stepBar_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(previousButton_);
    buttons->addWidget(nextButton_);
    buttons->addSpacing(12);
    buttons->addWidget(doneButton_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(12);
    layout->addLayout(top);
    layout->addWidget(panels_, 1);
    layout->addLayout(buttons);

    showStep(1);
}

QWidget* ArchiveWizard::buildStep1()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("step1"));
    panel->setProperty("card", true);

    auto* welcome = textLabel(
        QStringLiteral(
            "Welcome! This wizard will assist you in creating a recipe archive for the web."),
        panel);
    welcome->setProperty("heading", true);
    auto* ask =
        textLabel(QStringLiteral("Choose whether you would like to use frames or not ."), panel);

    framesOption_ = new QRadioButton(QStringLiteral("Frames"), panel);
    framesOption_->setObjectName(QStringLiteral("Option1"));
    noFramesOption_ = new QRadioButton(QStringLiteral("No frames"), panel);
    noFramesOption_->setObjectName(QStringLiteral("Option2"));
    framesOption_->setChecked(true);

    const qreal ratio = devicePixelRatioF() < 2 ? 2 : devicePixelRatioF();
    auto picture = [&](const char* name, bool frames, QRadioButton* option) {
        auto* label = new ClickableLabel(panel);
        label->setObjectName(QLatin1String(name));
        label->setPixmap(layoutPicture(frames, ratio));
        label->setCursor(Qt::PointingHandCursor);
        label->setToolTip(option->text());
        label->setAlignment(Qt::AlignCenter);
        connect(label, &ClickableLabel::clicked, option, [option] { option->setChecked(true); });
        return label;
    };
    framesPicture_ = picture("Image2", true, framesOption_);
    noFramesPicture_ = picture("Image3", false, noFramesOption_);
    connect(framesOption_, &QRadioButton::toggled, this, &ArchiveWizard::markChosenPicture);

    auto* choices = new QGridLayout;
    choices->setHorizontalSpacing(28);
    choices->setVerticalSpacing(6);
    choices->addWidget(framesPicture_, 0, 0, Qt::AlignCenter);
    choices->addWidget(noFramesPicture_, 0, 1, Qt::AlignCenter);
    choices->addWidget(framesOption_, 1, 0, Qt::AlignCenter);
    choices->addWidget(noFramesOption_, 1, 1, Qt::AlignCenter);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(18, 16, 18, 16);
    layout->setSpacing(10);
    layout->addWidget(welcome);
    layout->addWidget(ask);
    layout->addSpacing(6);
    layout->addLayout(choices);
    layout->addStretch();
    markChosenPicture();
    return panel;
}

QWidget* ArchiveWizard::buildStep2()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("step2"));
    panel->setProperty("card", true);

    auto* ask = textLabel(
        QStringLiteral("Choose the background you would like to have for your recipes"), panel);
    ask->setProperty("heading", true);

    imageOption_ = new QRadioButton(QStringLiteral("Image"), panel);
    imageOption_->setObjectName(QStringLiteral("Option3"));
    colourOption_ = new QRadioButton(QStringLiteral("Color"), panel);
    colourOption_->setObjectName(QStringLiteral("Option4"));
    colourOption_->setChecked(true);

    imagePath_ = new QLineEdit(panel);
    imagePath_->setObjectName(QStringLiteral("Text2"));
    imagePath_->setPlaceholderText(QStringLiteral("A picture file"));
    // Typing a path means the picture is wanted.
    connect(imagePath_, &QLineEdit::textEdited, imageOption_,
            [this] { imageOption_->setChecked(true); });
    auto* browse = new QPushButton(QStringLiteral("..."), panel);
    browse->setObjectName(QStringLiteral("Command4"));
    browse->setToolTip(QStringLiteral("Choose a picture"));
    connect(browse, &QPushButton::clicked, this, &ArchiveWizard::chooseImage);

    preview_ = new ColourSwatch(panel);
    preview_->setObjectName(QStringLiteral("Picture2"));
    preview_->setFixedSize(twips(1200), twips(1200));

    auto* sliders = new QGridLayout;
    sliders->setHorizontalSpacing(10);
    int row = 0;
    for (auto [name, caption, slider] :
         {std::tuple{"red2", "Red", &red_}, std::tuple{"green2", "Green", &green_},
          std::tuple{"blue2", "Blue", &blue_}}) {
        auto* label = new QLabel(QLatin1String(caption), panel);
        *slider = new QSlider(Qt::Horizontal, panel);
        (*slider)->setObjectName(QLatin1String(name));
        (*slider)->setRange(0, 255);
        (*slider)->setValue(255);
        (*slider)->setPageStep(16);
        (*slider)->setMinimumWidth(twips(2700));
        label->setBuddy(*slider);
        auto* value = new QLabel(QString::number((*slider)->value()), panel);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("000")));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // Setting a colour means the colour is wanted.
        connect(*slider, &QSlider::valueChanged, this, [this, value](int v) {
            value->setNum(v);
            colourOption_->setChecked(true);
            updatePreview();
        });
        sliders->addWidget(label, row, 0);
        sliders->addWidget(*slider, row, 1);
        sliders->addWidget(value, row, 2);
        ++row;
    }
    sliders->setColumnMinimumWidth(3, 6);
    sliders->addWidget(preview_, 0, 4, 3, 1, Qt::AlignCenter);

    auto* pathRow = new QHBoxLayout;
    pathRow->addSpacing(22);
    pathRow->addWidget(imagePath_, 1);
    pathRow->addWidget(browse);
    auto* colourRow = new QHBoxLayout;
    colourRow->addSpacing(22);
    colourRow->addLayout(sliders);
    colourRow->addStretch();

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(18, 16, 18, 16);
    layout->setSpacing(8);
    layout->addWidget(ask);
    layout->addSpacing(4);
    layout->addWidget(colourOption_);
    layout->addLayout(colourRow);
    layout->addSpacing(6);
    layout->addWidget(imageOption_);
    layout->addLayout(pathRow);
    layout->addStretch();
    updatePreview();
    return panel;
}

QWidget* ArchiveWizard::buildStep3()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("step3"));
    panel->setProperty("card", true);

    auto* done = textLabel(QStringLiteral("Done!"), panel);
    done->setProperty("heading", true);
    auto* where =
        textLabel(QStringLiteral("All files are collected in your Culvora/Html-directory"), panel);
    auto* edit = textLabel(
        QStringLiteral("The files may be edited in an editor to suite your needs."), panel);
    whereLabel_ = textLabel(QString(), panel, "Label5");
    whereLabel_->setProperty("hint", true);
    whereLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    lookButton_ = button("Command5", QStringLiteral("Look at the results"), panel);
    connect(lookButton_, &QPushButton::clicked, this, &ArchiveWizard::lookAtResults);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(18, 16, 18, 16);
    layout->setSpacing(10);
    layout->addWidget(done);
    layout->addWidget(where);
    layout->addWidget(whereLabel_);
    layout->addWidget(edit);
    layout->addSpacing(8);
    layout->addWidget(lookButton_, 0, Qt::AlignLeft);
    layout->addStretch();
    return panel;
}

int ArchiveWizard::step() const
{
    return stepBar_->value();
}

QWidget* ArchiveWizard::frontPanel() const
{
    return panels_->currentWidget();
}

QColor ArchiveWizard::chosenColour() const
{
    return QColor(red_->value(), green_->value(), blue_->value());
}

Result<transfer::ArchiveOptions> ArchiveWizard::archiveOptions() const
{
    transfer::ArchiveOptions options;
    options.frames = framesOption_->isChecked();
    options.image = imageOption_->isChecked();
    options.red = red_->value();
    options.green = green_->value();
    options.blue = blue_->value();
    if (options.image) {
        auto path = toCp(imagePath_->text());
        if (!path) return std::unexpected(path.error());
        options.imagePath = std::move(*path);
    }
    return options;
}

void ArchiveWizard::showStep(int step)
{
    stepBar_->setValue(step);
    if (step == 3) {
        stepLabel_->setText(QStringLiteral("Done!"));
        panels_->setCurrentWidget(step3_);
        // Enter presses the button with the focus.
        doneButton_->setDefault(false);
        lookButton_->setFocus();
        return;
    }
    stepLabel_->setText(stepText(step));
    panels_->setCurrentWidget(step == 1 ? step1_ : step2_);
    previousButton_->setEnabled(step == 2);
    nextButton_->setEnabled(step == 1);
    doneButton_->setEnabled(true);
    // Enter goes on to the next step, and on the last choice makes the archive.
    nextButton_->setDefault(step == 1);
    doneButton_->setDefault(step == 2);
    (step == 1 ? nextButton_ : doneButton_)->setFocus();
}

void ArchiveWizard::goNext()
{
    if (step() == 1) showStep(2);
}

void ArchiveWizard::goPrevious()
{
    if (step() == 2) showStep(1);
}

void ArchiveWizard::updatePreview()
{
    QPalette palette = preview_->palette();
    palette.setColor(QPalette::Window, chosenColour());
    preview_->setPalette(palette);
}

void ArchiveWizard::markChosenPicture()
{
    // The chosen layout's picture sits on a honey mat.
    framesPicture_->setStyleSheet(theme::layoutPictureStyle(framesOption_->isChecked()));
    noFramesPicture_->setStyleSheet(theme::layoutPictureStyle(!framesOption_->isChecked()));
}

void ArchiveWizard::chooseImage()
{
    // An open-file dialog, not a save one: the background is a picture that is there, and a
    // save dialog would ask whether to replace it.
    const QString file = app_.services.prompter.openFileName(
        QStringLiteral("Background"),
        QStringLiteral("Pictures (*.gif *.jpg *.jpeg *.png *.bmp *.webp);;All files (*)"));
    if (file.isEmpty()) return;
    imagePath_->setText(file);
    imageOption_->setChecked(true);
}

void ArchiveWizard::generate()
{
    auto options = archiveOptions();
    if (!options) {
        app_.services.prompter.inform(toQString(options.error()), kErrorTitle,
                                      MessageIcon::Exclamation);
        return;
    }
    const int stepBefore = step();
    previousButton_->setEnabled(false);
    nextButton_->setEnabled(false);
    doneButton_->setEnabled(false);
    stepLabel_->setText(QStringLiteral("Done!"));
    stepBar_->setValue(3);

    QPointer<ProgressWindow> progress =
        qobject_cast<ProgressWindow*>(app_.windows.open(forms::kProgress));
    if (progress) progress->paintNow();
    Result<transfer::ArchiveResult> written;
    {
        WaitCursor wait;
        written = transfer::writeArchive(app_.state.folder, app_.state.currentCookbookFile,
                                         *options, [&progress](int percent) {
                                             if (progress) progress->setPercent(percent);
                                         });
    }
    if (progress) app_.windows.closeWindow(progress);

    if (!written) {
        // Nothing to look at: the wizard stays on its step so the user can try again.
        showStep(stepBefore);
        app_.services.prompter.inform(toQString(written.error()), kErrorTitle,
                                      MessageIcon::Exclamation);
        return;
    }
    index_ = written->index;
    whereLabel_->setText(
        QStringLiteral("(%1)").arg(QString::fromStdString(index_.parent_path().string())));
    showStep(3);
    if (written->skipped > 0) {
        const std::string skipped = transfer::skippedRecordsMessage(written->skipped);
        app_.services.prompter.inform(
            QString::fromUtf8(skipped.data(), static_cast<qsizetype>(skipped.size())),
            QStringLiteral("Archive Wizard"), MessageIcon::Information);
    }
}

void ArchiveWizard::lookAtResults()
{
    if (index_.empty()) return;
    const QString index = QString::fromStdString(index_.string());
    if (app_.services.opener.openDocument(index)) return;
    app_.services.prompter.inform(
        QStringLiteral("No web browser could be started. The archive is in the folder \"%1\": "
                       "open index.html there with your web browser.")
            .arg(QString::fromStdString(index_.parent_path().string())),
        QStringLiteral("Look at the results"), MessageIcon::Information);
}

}  // namespace culvora::gui
