#pragma once

#include <QWidget>

#include "gui/app/app_context.h"

namespace culvora::gui {

// "om": the product, its picture and the legal warning; "Close" closes it.
class AboutWindow : public QWidget {
    Q_OBJECT
public:
    explicit AboutWindow(AppContext& app, QWidget* parent = nullptr);
};

}  // namespace culvora::gui
