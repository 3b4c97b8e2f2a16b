#pragma once
// The range editor's window: chart list, brush, hand grid, range text per
// action with live counts, the chart preview, and the file and pack actions.
//
//   chart list -> model.setSpot        grid strokes -> model.paint
//   action edits -> model.setActionRange   model.changed -> grid, rows, preview
//
// A file that does not parse opens as plain text with the error named, so
// nothing in it is lost; it becomes charts again once it parses. Charts the
// file lacks are greyed in the list and can be added.

#include <QMainWindow>
#include <functional>
#include <optional>

#include "editormodel.h"
#include "places.h"
#include "renderjob.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QSpinBox;
class QPushButton;
class QStackedWidget;
class QToolButton;

namespace ranges {

class GridWidget;

// Answers the window would otherwise ask in a dialog; tests set them.
struct Questions {
    std::function<QString(const QString& start)> chooseFolder;
    std::function<std::optional<int>()> chooseSlot;
    // Save, discard (true/false) or cancel (nothing) unsaved changes.
    std::function<std::optional<bool>()> saveChanges;
    std::function<void(const QString&)> showError;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Places places, QWidget* parent = nullptr);

    Questions& questions() { return questions_; }
    EditorModel& model() { return model_; }
    // Opens a range file; a bad one opens as text with its error shown.
    void openFile(const QString& path);
    bool save();
    // Renders the pack into the chart folder, or the folder given.
    void renderCharts(const QString& folder = {});
    void putOnCustomSlot();
    RenderJob& renderJob() { return job_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct ActionRow {
        QLabel* name;
        QLineEdit* edit;
        QLabel* count;
        QToolButton* copy;
    };
    void buildWidgets();
    void refresh();
    void refreshRows();
    void refreshBrush();
    void applyRow(int row);
    void showTextMode();
    void status(const QString& text);

    Places places_;
    Questions questions_;
    EditorModel model_;
    RenderJob job_;
    QString path_;

    QStackedWidget* pages_ = nullptr;
    QListWidget* charts_ = nullptr;
    QComboBox* brushAction_ = nullptr;
    QSpinBox* brushWeight_ = nullptr;
    GridWidget* grid_ = nullptr;
    std::vector<ActionRow> rows_;
    QComboBox* copyFormat_ = nullptr;
    QPushButton* addSpot_ = nullptr;
    QLabel* error_ = nullptr;
    QPlainTextEdit* warnings_ = nullptr;
    QLabel* preview_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QLabel* textError_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* render_ = nullptr;
    QAction* custom_ = nullptr;
};

}  // namespace ranges
