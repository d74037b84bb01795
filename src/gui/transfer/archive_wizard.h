#pragma once

// "frmGenWiz", the Archive Wizard: the whole current cookbook as web pages in the folder
// "html" of the data folder. Step 1 chooses frames or not, step 2 a background colour or
// picture, "Done" writes the pages (with the progress window frmProgress) and step 3 offers
// to look at them.

#include <QString>
#include <QWidget>

#include <filesystem>

#include "core/error.h"
#include "core/transfer/html_archive.h"
#include "gui/app/app_context.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QStackedWidget;

namespace culvora::gui {

class ClickableLabel;

class ArchiveWizard : public QWidget {
    Q_OBJECT
public:
    explicit ArchiveWizard(AppContext& app, QWidget* parent = nullptr);

    // The step number `bar` holds: 1, 2 or 3.
    int step() const;
    // The panel in front: step1, step2 or step3.
    QWidget* frontPanel() const;

    // The choices of steps 1 and 2 as the archive takes them; the picture's path must be one
    // Windows-1252 can hold.
    Result<transfer::ArchiveOptions> archiveOptions() const;
    // The colour the sliders make, as Picture2 shows it.
    QColor chosenColour() const;

public slots:
    void goNext();         // Command1 "Next >"
    void goPrevious();     // Command2 "< Previous"
    void generate();       // Command3 "Done"
    void chooseImage();    // Command4 "..."
    void lookAtResults();  // Command5 "Look at the results"

private:
    QWidget* buildStep1();
    QWidget* buildStep2();
    QWidget* buildStep3();
    void showStep(int step);
    void updatePreview();
    void markChosenPicture();

    AppContext& app_;
    std::filesystem::path index_;

    QLabel* stepLabel_ = nullptr;
    QProgressBar* stepBar_ = nullptr;
    QStackedWidget* panels_ = nullptr;
    QWidget* step1_ = nullptr;
    QWidget* step2_ = nullptr;
    QWidget* step3_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* previousButton_ = nullptr;
    QPushButton* doneButton_ = nullptr;

    QRadioButton* framesOption_ = nullptr;
    QRadioButton* noFramesOption_ = nullptr;
    ClickableLabel* framesPicture_ = nullptr;
    ClickableLabel* noFramesPicture_ = nullptr;

    QRadioButton* imageOption_ = nullptr;
    QRadioButton* colourOption_ = nullptr;
    QLineEdit* imagePath_ = nullptr;
    QSlider* red_ = nullptr;
    QSlider* green_ = nullptr;
    QSlider* blue_ = nullptr;
    QWidget* preview_ = nullptr;

    QLabel* whereLabel_ = nullptr;
    QPushButton* lookButton_ = nullptr;
};

}  // namespace culvora::gui
