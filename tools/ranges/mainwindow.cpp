#include "mainwindow.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "customslot.h"
#include "gridwidget.h"
#include "tabulo/chartpack/render.h"

namespace ranges {

using namespace chartpack;

namespace {

// The viewer's chart page is half the picture: show it at that size.
constexpr int kPreviewWidth = kChartWidth / 2;
constexpr int kPreviewHeight = kChartHeight / 2;
constexpr int kRows = 3;  // the most actions a chart has

QString errorText(const RangeError& e) {
    return QStringLiteral("line %1: '%2': %3")
        .arg(e.line())
        .arg(QString::fromStdString(e.token()), QString::fromStdString(e.reason()));
}

}  // namespace

MainWindow::MainWindow(Places places, QWidget* parent)
    : QMainWindow(parent), places_(std::move(places)) {
    setObjectName(QStringLiteral("RangeEditor"));
    questions_.chooseFolder = [this](const QString& start) {
        return QFileDialog::getExistingDirectory(this, tr("Program folder"), start);
    };
    questions_.chooseSlot = [this]() -> std::optional<int> {
        bool ok = false;
        const int slot =
            QInputDialog::getInt(this, tr("Put on Custom slot"),
                                 tr("Slot of the Custom page (1-39):"), 1, 1, kCustomSlots, 1, &ok);
        if (!ok) return std::nullopt;
        return slot;
    };
    questions_.saveChanges = [this]() -> std::optional<bool> {
        const auto answer = QMessageBox::question(
            this, tr("Tabulo ranges"), tr("Save the changes to %1?").arg(path_),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel) return std::nullopt;
        return answer == QMessageBox::Save;
    };
    questions_.showError = [this](const QString& text) {
        QMessageBox::warning(this, tr("Tabulo ranges"), text);
    };
    buildWidgets();
    connect(&model_, &EditorModel::changed, this, &MainWindow::refresh);
    // While a stroke goes on, the grid repaints the cell and the rows follow;
    // the preview waits for the stroke's end.
    connect(&model_, &EditorModel::painted, this, [this] { refreshRows(); });
    connect(&job_, &RenderJob::progress, this, [this](int done, int total) {
        progress_->setMaximum(total);
        progress_->setValue(done);
    });
    connect(&job_, &RenderJob::finished, this, [this](bool ok, const QString& summary) {
        progress_->hide();
        render_->setEnabled(true);
        if (ok)
            status(summary);
        else
            questions_.showError(summary);
    });
}

void MainWindow::buildWidgets() {
    auto* bar = addToolBar(tr("File"));
    bar->setObjectName(QStringLiteral("Tools"));
    bar->setMovable(false);
    QAction* open = bar->addAction(tr("Open..."), this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, tr("Range file"), path_);
        if (!path.isEmpty()) openFile(path);
    });
    open->setShortcut(QKeySequence::Open);
    bar->addAction(tr("Save"), this, [this] { save(); })->setShortcut(QKeySequence::Save);
    undo_ = bar->addAction(tr("Undo"), this, [this] { model_.undo(); });
    undo_->setShortcut(QKeySequence::Undo);
    redo_ = bar->addAction(tr("Redo"), this, [this] { model_.redo(); });
    redo_->setShortcut(QKeySequence::Redo);
    bar->addSeparator();
    render_ = bar->addAction(tr("Render charts"), this, [this] { renderCharts(); });
    render_->setShortcut(Qt::CTRL | Qt::Key_R);
    bar->addAction(tr("Render to folder..."), this, [this] {
        const QString folder = questions_.chooseFolder(places_.chartFolder);
        if (!folder.isEmpty()) renderCharts(folder);
    });
    custom_ = bar->addAction(tr("Put on Custom slot..."), this, [this] { putOnCustomSlot(); });

    pages_ = new QStackedWidget(this);
    setCentralWidget(pages_);

    // Charts.
    auto* charts = new QWidget;
    auto* columns = new QHBoxLayout(charts);
    charts_ = new QListWidget;
    charts_->setObjectName(QStringLiteral("Charts"));
    for (int s : EditorModel::chartSpots()) {
        auto* item = new QListWidgetItem(QString::fromStdString(Spot::fromIndex(s).sectionName()));
        item->setData(Qt::UserRole, s);
        charts_->addItem(item);
    }
    charts_->setFixedWidth(150);
    connect(charts_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) model_.setSpot(charts_->item(row)->data(Qt::UserRole).toInt());
    });
    columns->addWidget(charts_);

    auto* middle = new QVBoxLayout;
    auto* brush = new QHBoxLayout;
    brush->addWidget(new QLabel(tr("Brush:")));
    brushAction_ = new QComboBox;
    brushAction_->setObjectName(QStringLiteral("BrushAction"));
    brush->addWidget(brushAction_);
    brushWeight_ = new QSpinBox;
    brushWeight_->setObjectName(QStringLiteral("BrushFrequency"));
    brushWeight_->setRange(1, 100);
    brushWeight_->setValue(100);
    brushWeight_->setSuffix(QStringLiteral("%"));
    brush->addWidget(brushWeight_);
    brush->addStretch();
    auto setBrush = [this] {
        model_.setBrush(static_cast<Action>(brushAction_->currentData().toInt()),
                        static_cast<Weight>(brushWeight_->value() * 100));
    };
    connect(brushAction_, &QComboBox::currentIndexChanged, this, setBrush);
    connect(brushWeight_, &QSpinBox::valueChanged, this, setBrush);
    middle->addLayout(brush);
    addSpot_ = new QPushButton(tr("Add this spot"));
    addSpot_->setObjectName(QStringLiteral("AddSpot"));
    addSpot_->setToolTip(tr("The file has no section for this chart yet"));
    addSpot_->hide();
    connect(addSpot_, &QPushButton::clicked, this, [this] { model_.addSpot(model_.spot()); });
    middle->addWidget(addSpot_, 0, Qt::AlignLeft);
    grid_ = new GridWidget(model_);
    middle->addWidget(grid_);
    auto* table = new QGridLayout;
    for (int r = 0; r < kRows; ++r) {
        ActionRow row{new QLabel, new QLineEdit, new QLabel, new QToolButton};
        row.edit->setObjectName(QStringLiteral("ActionRange%1").arg(r));
        row.count->setObjectName(QStringLiteral("ActionCount%1").arg(r));
        row.copy->setObjectName(QStringLiteral("CopyRange%1").arg(r));
        row.copy->setText(tr("Copy"));
        row.copy->setToolTip(tr("Copy the range in the chosen format"));
        connect(row.copy, &QToolButton::clicked, this, [this, r] {
            const auto actions = spotActions(Spot::fromIndex(model_.spot()));
            const auto format = static_cast<RangeFormat>(copyFormat_->currentData().toInt());
            QGuiApplication::clipboard()->setText(QString::fromStdString(
                model_.actionRange(actions[static_cast<size_t>(r)], format)));
        });
        row.edit->setClearButtonEnabled(true);
        connect(row.edit, &QLineEdit::returnPressed, this, [this, r] { applyRow(r); });
        connect(row.edit, &QLineEdit::textEdited, this, [this, r](const QString& text) {
            const auto actions = spotActions(Spot::fromIndex(model_.spot()));
            model_.type(actions[static_cast<size_t>(r)], text.toStdString());
        });
        table->addWidget(row.name, r, 0);
        table->addWidget(row.edit, r, 1);
        table->addWidget(row.count, r, 2);
        table->addWidget(row.copy, r, 3);
        rows_.push_back(row);
    }
    middle->addLayout(table);
    auto* copying = new QHBoxLayout;
    copying->addWidget(new QLabel(tr("Copy as:")));
    copyFormat_ = new QComboBox;
    copyFormat_->setObjectName(QStringLiteral("CopyFormat"));
    copyFormat_->addItem(tr("hands with weights (AA, AKs:0.5)"),
                         static_cast<int>(RangeFormat::Classes));
    copyFormat_->addItem(tr("combinations (AhKs: 0.5)"),
                         static_cast<int>(RangeFormat::Combinations));
    copyFormat_->addItem(tr("brackets ([50]AKs[/50])"), static_cast<int>(RangeFormat::Brackets));
    copying->addWidget(copyFormat_);
    copying->addStretch();
    middle->addLayout(copying);
    error_ = new QLabel;
    error_->setObjectName(QStringLiteral("RangeError"));
    error_->setStyleSheet(QStringLiteral("color: #b00000"));
    error_->setWordWrap(true);
    middle->addWidget(error_);
    warnings_ = new QPlainTextEdit;
    warnings_->setObjectName(QStringLiteral("Warnings"));
    warnings_->setReadOnly(true);
    warnings_->setMaximumHeight(110);
    warnings_->hide();
    middle->addWidget(warnings_);
    middle->addStretch();
    columns->addLayout(middle);

    preview_ = new QLabel;
    preview_->setObjectName(QStringLiteral("Preview"));
    preview_->setFixedSize(kPreviewWidth, kPreviewHeight);
    preview_->setAlignment(Qt::AlignCenter);
    columns->addWidget(preview_, 0, Qt::AlignTop);
    pages_->addWidget(charts);

    // The file as text, for a file that does not parse.
    auto* raw = new QWidget;
    auto* rawLayout = new QVBoxLayout(raw);
    textError_ = new QLabel;
    textError_->setObjectName(QStringLiteral("FileError"));
    textError_->setStyleSheet(QStringLiteral("color: #b00000"));
    textError_->setWordWrap(true);
    rawLayout->addWidget(textError_);
    text_ = new QPlainTextEdit;
    text_->setObjectName(QStringLiteral("FileText"));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    rawLayout->addWidget(text_);
    auto* apply = new QPushButton(tr("Read as charts"));
    apply->setObjectName(QStringLiteral("ReadText"));
    connect(apply, &QPushButton::clicked, this, [this] { model_.readFileText(); });
    connect(text_, &QPlainTextEdit::textChanged, this,
            [this] { model_.editFileText(text_->toPlainText().toStdString()); });
    rawLayout->addWidget(apply, 0, Qt::AlignLeft);
    pages_->addWidget(raw);

    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("RenderProgress"));
    progress_->hide();
    statusBar()->addPermanentWidget(progress_);
    charts_->setCurrentRow(0);
}

void MainWindow::openFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        questions_.showError(tr("cannot read %1: %2").arg(path, file.errorString()));
        return;
    }
    const QByteArray bytes = file.readAll();
    path_ = path;
    setWindowTitle(tr("%1 - Tabulo ranges").arg(path));
    warnings_->clear();
    warnings_->hide();
    {
        // The file's own bytes stay the model's until the user edits them.
        const QSignalBlocker quiet(text_);
        text_->setPlainText(QString::fromUtf8(bytes));
    }
    model_.open(bytes.toStdString());
}

void MainWindow::showTextMode() {
    pages_->setCurrentIndex(1);
    const RangeError& e = *model_.fileError();
    textError_->setText(QStringLiteral("%1: %2").arg(path_, errorText(e)));
    const QTextBlock block = text_->document()->findBlockByNumber(e.line() - 1);
    if (block.isValid()) text_->setTextCursor(QTextCursor(block));
    undo_->setEnabled(false);
    redo_->setEnabled(false);
    render_->setEnabled(false);
    custom_->setEnabled(false);
}

bool MainWindow::save() {
    QString error;
    if (!model_.save(path_, &error)) {
        questions_.showError(tr("cannot save %1: %2").arg(path_, error));
        return false;
    }
    status(model_.textMode() ? tr("Saved %1 (as text: it does not read as charts yet)").arg(path_)
                             : tr("Saved %1").arg(path_));
    return true;
}

void MainWindow::renderCharts(const QString& folder) {
    if (model_.textMode() || job_.running()) return;
    const QString target = folder.isEmpty() ? places_.chartFolder : folder;
    // Every warning stays readable beside the grid until the next render.
    QStringList warnings;
    for (const auto& fault : checkConsistency(model_.pack()))
        warnings << tr("warning: %1").arg(QString::fromStdString(fault));
    warnings_->setPlainText(warnings.join(QLatin1Char('\n')));
    warnings_->setVisible(!warnings.isEmpty());
    progress_->setValue(0);
    progress_->show();
    render_->setEnabled(false);
    job_.start(model_.pack(), target);
}

void MainWindow::putOnCustomSlot() {
    if (model_.textMode() || !model_.holds(model_.spot())) return;
    const auto slot = questions_.chooseSlot();
    if (!slot) return;
    QString error;
    if (!ranges::putOnCustomSlot(model_.pack(), model_.spot(), *slot, places_.chartFolder,
                                 places_.customIni, &error)) {
        questions_.showError(error);
        return;
    }
    status(tr("%1 is on Custom slot %2")
               .arg(QString::fromStdString(Spot::fromIndex(model_.spot()).title()))
               .arg(*slot));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!model_.unsaved()) return event->accept();
    const auto answer = questions_.saveChanges();
    if (!answer || (*answer && !save())) return event->ignore();
    event->accept();
}

void MainWindow::applyRow(int r) {
    const Action action = spotActions(Spot::fromIndex(model_.spot()))[static_cast<size_t>(r)];
    model_.type(action, rows_[static_cast<size_t>(r)].edit->text().toStdString());
    try {
        model_.applyTyped(action);
        error_->clear();
    } catch (const RangeError& e) {
        error_->setText(QStringLiteral("%1: %2").arg(
            QString::fromStdString(std::string(actionName(action))), errorText(e)));
    }
}

void MainWindow::refreshBrush() {
    const QSignalBlocker quiet(brushAction_);
    const Spot spot = Spot::fromIndex(model_.spot());
    brushAction_->clear();
    for (Action action : spotActions(spot))
        brushAction_->addItem(QString::fromStdString(std::string(actionName(action))),
                              static_cast<int>(action));
    brushAction_->addItem(QStringLiteral("fold"), static_cast<int>(Action::Fold));
    brushAction_->setCurrentIndex(brushAction_->findData(static_cast<int>(model_.brushAction())));
}

void MainWindow::refresh() {
    if (model_.textMode()) return showTextMode();
    pages_->setCurrentIndex(0);
    textError_->clear();
    const int spot = model_.spot();
    const bool held = model_.holds(spot);
    for (int i = 0; i < charts_->count(); ++i) {
        QListWidgetItem* item = charts_->item(i);
        const int listed = item->data(Qt::UserRole).toInt();
        if (listed == spot) charts_->setCurrentRow(i);
        const bool lacking = !model_.holds(listed);
        item->setForeground(lacking ? palette().brush(QPalette::Disabled, QPalette::Text)
                                    : palette().brush(QPalette::Active, QPalette::Text));
        item->setToolTip(lacking ? tr("Not in the file: add this spot") : QString());
    }
    addSpot_->setVisible(!held);
    grid_->setEnabled(held);
    if (brushAction_->count() == 0 ||
        brushAction_->count() != int(spotActions(Spot::fromIndex(spot)).size()) + 1)
        refreshBrush();
    else if (brushAction_->currentData().toInt() != static_cast<int>(model_.brushAction()))
        brushAction_->setCurrentIndex(
            brushAction_->findData(static_cast<int>(model_.brushAction())));
    refreshRows();
    // A chart the file lacks has no picture: it is not a chart where all fold.
    if (held)
        preview_->setPixmap(
            QPixmap::fromImage(renderSpotChart(model_.pack(), Spot::fromIndex(spot))
                                   .scaled(kPreviewWidth, kPreviewHeight, Qt::IgnoreAspectRatio,
                                           Qt::SmoothTransformation)));
    else
        preview_->setText(
            tr("%1: not in the file").arg(QString::fromStdString(Spot::fromIndex(spot).title())));
    undo_->setEnabled(model_.canUndo());
    redo_->setEnabled(model_.canRedo());
    render_->setEnabled(!job_.running());
    custom_->setEnabled(held);
}

void MainWindow::refreshRows() {
    const int spot = model_.spot();
    const bool held = model_.holds(spot);
    const auto actions = spotActions(Spot::fromIndex(spot));
    for (size_t r = 0; r < rows_.size(); ++r) {
        const ActionRow& row = rows_[r];
        const bool shown = r < actions.size();
        row.name->setVisible(shown);
        row.edit->setVisible(shown);
        row.count->setVisible(shown);
        row.copy->setVisible(shown);
        if (!shown) continue;
        row.edit->setEnabled(held);
        row.copy->setEnabled(held);
        row.name->setText(QString::fromStdString(std::string(actionName(actions[r]))) + ":");
        const std::string* typed = model_.typed(actions[r]);
        const QString text =
            QString::fromStdString(typed ? *typed : model_.actionRange(actions[r]));
        if (row.edit->text() != text) row.edit->setText(text);
        const double combos = model_.combos(actions[r]);
        row.count->setText(tr("%1 combos, %2%")
                               .arg(combos, 0, 'f', combos == int(combos) ? 0 : 1)
                               .arg(100.0 * combos / 1326.0, 0, 'f', 1));
    }
}

void MainWindow::status(const QString& text) {
    statusBar()->showMessage(text);
}

}  // namespace ranges
