#pragma once

// "nybok": the title and file name of a new, empty cookbook.

#include <QWidget>

#include "gui/app/app_context.h"

class QLineEdit;

namespace culvora::gui {

class NewBookDialog : public QWidget {
    Q_OBJECT
public:
    explicit NewBookDialog(AppContext& app, QWidget* parent = nullptr);

    // Puts the focus in the title box with its text selected, ready to be typed over.
    void startEditing();

public slots:
    void accept();  // "Ok"

private:
    void refuse(const QString& message, QLineEdit* box);

    AppContext& app_;
    QLineEdit* titleBox_ = nullptr;
    QLineEdit* fileBox_ = nullptr;
};

}  // namespace culvora::gui
