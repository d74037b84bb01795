#include "gui/nutrition/nutrition_viewer.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "gui/app/geometry.h"
#include "gui/app/qt_text.h"
#include "gui/app/window_names.h"
#include "gui/nutrition/nutrition_grid.h"
#include "gui/nutrition/nutrition_layout.h"
#include "gui/nutrition/nutrition_model.h"
#include "gui/nutrition/pie_chart.h"
#include "gui/theme/theme.h"
#include "gui/widgets/wait_cursor.h"

namespace culvora::gui {

namespace {

using namespace index_layout;

// The legend's names, in the order of the slices.
const char* const kLegend[4] = {"Water", "Protein", "Fat", "Carb-hydrates"};

// The left margin, in twips: the chosen name above the chart, the legend below it.
constexpr TwipRect kNameRect{240, 150, 2520, 1600};
constexpr int kLegendTop = 4150;
constexpr int kLegendStep = 330;
constexpr int kLegendBoxLeft = 560;
constexpr int kLegendTextLeft = 860;
// The row of the find box, Label1 and the font size above the grid.
constexpr int kRowTop = 60;
constexpr int kRowHeight = 440;

}  // namespace

NutritionViewer::NutritionViewer(AppContext& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName(forms::kNutrition);
    setWindowTitle(QStringLiteral("Nutrition index"));
    WaitCursor busy;
    buildControls();
    load();
}

const std::vector<nutrition::Ingredient>& NutritionViewer::table() const
{
    return model_->table();
}

void NutritionViewer::buildControls()
{
    theme::setPaper(this);
    setStyleSheet(theme::nutritionStyle());
    setMinimumSize(twips(kMinimumWidth), twips(kMinimumHeight));

    nameLabel_ = new QLabel(QStringLiteral("(Click an ingredient)"), this);
    nameLabel_->setObjectName(QStringLiteral("Label2"));
    nameLabel_->setProperty("heading", true);
    nameLabel_->setFont(theme::serifFont(11));
    nameLabel_->setWordWrap(true);
    nameLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    nameLabel_->setGeometry(toPixels(kNameRect));

    chart_ = new PieChart(twips(kChartRadius), this);
    chart_->setObjectName(QStringLiteral("pieChart"));
    chart_->move(twips(kChartCentreX) - chart_->width() / 2,
                 twips(kChartCentreY) - chart_->height() / 2);

    for (int slice = 0; slice < 4; ++slice) {
        const int top = twips(kLegendTop + slice * kLegendStep);
        auto* box = new ColourBox(PieChart::sliceColour(slice), this);
        box->setObjectName(QStringLiteral("Picture%1").arg(slice + 1));
        box->move(twips(kLegendBoxLeft), top + 2);
        auto* caption = new QLabel(QLatin1String(kLegend[slice]), this);
        caption->setObjectName(QStringLiteral("Legend%1").arg(slice + 1));
        caption->setFont(theme::sansFont(10));
        caption->move(twips(kLegendTextLeft), top);
        caption->adjustSize();
    }

    findRow_ = new QWidget(this);
    auto* findCaption = new QLabel(QStringLiteral("Find:"), findRow_);
    findCaption->setFont(theme::sansFont(10));
    findBox_ = new QLineEdit(findRow_);
    findBox_->setObjectName(QStringLiteral("Text1"));
    findBox_->setFont(theme::sansFont(10));
    findBox_->setFixedWidth(220);
    findBox_->setPlaceholderText(QStringLiteral("the beginning of a name"));
    findBox_->setToolTip(QStringLiteral("Type the beginning of an ingredient's name and press "
                                        "Enter"));
    findBox_->installEventFilter(this);
    findCaption->setBuddy(findBox_);
    auto* go = new QPushButton(QStringLiteral("Go"), findRow_);
    go->setObjectName(QStringLiteral("Command1"));
    go->setFont(theme::sansFont(10));
    go->setCursor(Qt::PointingHandCursor);

    // Between the find box and the font size where there is room for it, else under the
    // legend (placed on every resize).
    note_ = new QLabel(QStringLiteral("(All data is given per 100 metric gram)"), this);
    note_->setObjectName(QStringLiteral("Label1"));
    note_->setFont(theme::sansFont(10));
    note_->setAlignment(Qt::AlignCenter);

    auto* fontCaption = new QLabel(QStringLiteral("&Font:"), findRow_);
    fontCaption->setObjectName(QStringLiteral("fontCaption"));
    fontCaption->setFont(theme::sansFont(10));
    fontChoice_ = new QComboBox(findRow_);
    fontChoice_->setObjectName(QStringLiteral("Combo1"));
    fontChoice_->setFont(theme::sansFont(10));
    fontChoice_->setToolTip(QStringLiteral("The size of the table's letters"));
    fontCaption->setBuddy(fontChoice_);

    auto* row = new QHBoxLayout(findRow_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(findCaption);
    row->addWidget(findBox_);
    row->addWidget(go);
    row->addStretch(1);
    row->addWidget(fontCaption);
    row->addWidget(fontChoice_);

    model_ = new NutritionModel(this);
    grid_ = new NutritionGrid(this);
    grid_->setObjectName(QStringLiteral("Grid1"));
    grid_->setAlternatingRowColors(true);
    grid_->namesColumn()->setAlternatingRowColors(true);
    grid_->setModel(model_);

    connect(go, &QPushButton::clicked, this, &NutritionViewer::find);
    connect(findBox_, &QLineEdit::returnPressed, this, &NutritionViewer::find);
    connect(grid_, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { showIngredient(index.row()); });
    // Enter on a row is the keyboard's click.
    connect(grid_, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { showIngredient(index.row()); });

    setFocusProxy(findBox_);
}

void NutritionViewer::load()
{
    for (int size : nutrition::fontSizes()) fontChoice_->addItem(QString::number(size));
    fontChoice_->setCurrentIndex(1);
    connect(fontChoice_, &QComboBox::currentIndexChanged, this,
            [this] { applyFontSize(fontChoice_->currentText().toInt()); });

    auto table = nutrition::readTable(app_.state.folder);
    if (!table) {
        // A table that cannot be read would otherwise look like a table without foods.
        app_.services.prompter.inform(toQString(table.error()), QStringLiteral("Error"),
                                      MessageIcon::Exclamation);
    }
    model_->setTable(table ? std::move(*table) : std::vector<nutrition::Ingredient>{});
    // The first row is the current one, not yet a chosen one: nothing is marked until a
    // click or a find.
    if (model_->rowCount() > 0) {
        grid_->selectionModel()->setCurrentIndex(model_->index(0, 1),
                                                 QItemSelectionModel::NoUpdate);
    }
    applyFontSize(fontChoice_->currentText().toInt());
}

void NutritionViewer::applyFontSize(int points)
{
    if (points <= 0) return;
    // The row at the top stays there: the rows change height, not the place in the table.
    const int topRow = grid_->rowAt(0);
    grid_->setGridFont(theme::sansFont(points));
    const nutrition::ColumnWidths widths = nutrition::columnWidths(points);
    grid_->setColumnWidth(0, twips(widths.name));
    for (int column = 1; column <= nutrition::kValueCount; ++column) {
        grid_->setColumnWidth(column, twips(widths.value));
    }
    if (topRow > 0) grid_->scrollTo(model_->index(topRow, 0), QAbstractItemView::PositionAtTop);
}

void NutritionViewer::showIngredient(int row)
{
    const auto& rows = model_->table();
    if (row < 0 || row >= static_cast<int>(rows.size())) return;
    const nutrition::Ingredient& ingredient = rows[static_cast<std::size_t>(row)];
    grid_->selectionModel()->setCurrentIndex(
        model_->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    nameLabel_->setText(fromCp(ingredient.name));
    chart_->showAngles(nutrition::pieAnglesOf(ingredient));
}

void NutritionViewer::find()
{
    grid_->setFocus(Qt::OtherFocusReason);
    const QString typed = findBox_->text();
    if (typed.isEmpty()) return;
    const QModelIndex remembered = grid_->currentIndex();
    auto key = toCp(typed);
    const auto row = key ? nutrition::findIngredient(model_->table(), *key) : std::nullopt;
    if (!row) {
        app_.services.prompter.inform(QString::fromLatin1(nutrition::kNotFoundMessage),
                                      QStringLiteral("Culvora"));
        if (remembered.isValid()) grid_->setCurrentIndex(remembered);
        return;
    }
    const QModelIndex found = model_->index(static_cast<int>(*row), 1);
    grid_->selectionModel()->setCurrentIndex(found, QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
    grid_->scrollTo(found, QAbstractItemView::PositionAtCenter);
}

void NutritionViewer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const TwipRect grid = gridRect(toTwips(width()), toTwips(height()));
    grid_->setGeometry(toPixels(grid));
    findRow_->setGeometry(twips(grid.left), twips(kRowTop), twips(grid.width), twips(kRowHeight));
    placeNote();
}

void NutritionViewer::placeNote()
{
    findRow_->layout()->activate();
    const QWidget* go = findRow_->findChild<QWidget*>(QStringLiteral("Command1"));
    const QWidget* fontCaption = findRow_->findChild<QWidget*>(QStringLiteral("fontCaption"));
    const int left = findRow_->x() + go->geometry().right() + 12;
    const int right = findRow_->x() + fontCaption->geometry().left() - 12;
    const QSize line = note_->fontMetrics().size(0, note_->text());
    note_->setWordWrap(false);
    if (right - left >= line.width()) {
        note_->setGeometry(left, findRow_->y(), right - left, findRow_->height());
        return;
    }
    const int top = twips(kLegendTop + 4 * kLegendStep);
    note_->setWordWrap(true);
    note_->setGeometry(twips(kNameRect.left), top, twips(kNameRect.width),
                       note_->heightForWidth(twips(kNameRect.width)));
}

bool NutritionViewer::eventFilter(QObject* watched, QEvent* event)
{
    // Text1 selects its whole text when it gets the focus, also by a click: after the click
    // has placed the cursor.
    if (watched == findBox_ && event->type() == QEvent::FocusIn) {
        QTimer::singleShot(0, findBox_, &QLineEdit::selectAll);
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace culvora::gui
