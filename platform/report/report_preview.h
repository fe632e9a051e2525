#pragma once
// The preview window: the report's pages with zoom, page navigation, a list
// of groups, search, print and export, each part shown as the caller's
// switches allow (dispatch_ids.h).
#include <QDialog>
#include <functional>

#include "platform/report/page_model.h"
#include "platform/report/report_output.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QScrollArea;
class QToolButton;

namespace report {

class ReportPreview : public QDialog {
public:
    struct Actions {
        std::function<void()> print;
        std::function<void()> exportFile;
    };

    ReportPreview(const Document& document, const PreviewOptions& options, Actions actions, QWidget* parent = nullptr);

    int page() const { return page_; }
    double zoom() const { return zoom_; }
    void showPage(int index);
    void setZoom(double zoom);
    // The next page, from the one after the current, whose text holds `text` (letter case ignored).
    bool find(const QString& text);

    QToolButton* button(const char* name) const;

private:
    void refresh();

    const Document& document_;
    Actions actions_;
    int page_ = 0;
    double zoom_ = 1.0;
    QLabel* pageView_ = nullptr;
    QLabel* pageNumber_ = nullptr;
    QLabel* status_ = nullptr;
    QComboBox* zoomBox_ = nullptr;
    QLineEdit* searchText_ = nullptr;
    QListWidget* groups_ = nullptr;
    QScrollArea* scroll_ = nullptr;
};

}  // namespace report
