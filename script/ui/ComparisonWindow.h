#pragma once
// Window "Сравнительная информация регистраторов": the comparison report. At its first
// activation in the run it writes a header for both registrars (when the second one is
// connected); two-registrar execution appends its mismatch lines through AppendReportLine.
// The window keeps the report as a line model (ReportDocument) and shows each line as it is
// added; the RTF file is written from that model.
//
// Constructing the window installs it as the process's comparisonReport(); destroying it
// uninstalls it again.
#include "script/ComparisonReport.h"
#include "script/ReportDocument.h"

#include <QDialog>

#include <memory>
#include <string>

namespace Ui {
class ComparisonWindow;
}

namespace quorvex::ui {

class ComparisonWindow : public QDialog, public script::ComparisonReport {
    Q_OBJECT
public:
    explicit ComparisonWindow(QWidget* parent = nullptr);
    ~ComparisonWindow() override;

    // Colour in force from now on, the line one height step larger, appended at the end.
    void AppendReportLine(const std::string& text, script::Rgb colour) override;

    // The header once per run (first activation), then the selection kept visible.
    void writeHeaderOnce();
    void selectReport();  // select all
    void copySelection(); // copy the selection to the clipboard
    void saveAsRtf();     // save as RTF
    void closeWindow();   // close

    [[nodiscard]] const script::ReportDocument& document() const { return m_document; }
    [[nodiscard]] bool reportBuilt() const { return m_reportBuilt; }
    [[nodiscard]] QString reportText() const;

protected:
    bool event(QEvent* event) override;

private:
    void writeHeader();
    void writeRegistrarBlock(int registrar, const std::string& port, const std::string& speed);
    void appendLine(const std::string& text);
    void appendPlainLine(const std::string& text);
    void showLine(const script::ReportLine& line);
    void keepSelectionVisible();
    bool confirmTarget(const std::string& path);

    std::unique_ptr<Ui::ComparisonWindow> m_ui;
    script::ReportDocument m_document;
    bool m_reportBuilt = false;
};

} // namespace quorvex::ui
