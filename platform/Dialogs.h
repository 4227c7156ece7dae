#pragma once
// Message boxes, questions and file dialogs behind one interface, so windows and the script
// engine can be driven headless. Every text is Windows-1251 bytes, except file paths: the
// initial directory and the chosen file are in the file system's own encoding (UTF-8 on
// Linux), so that a chosen file always opens.
#include <optional>
#include <string>

namespace quorvex::platform {

struct FileDialogOptions {
    std::string filter; // "Описание (*.txt)|*.TXT|Все|*.*" pairs separated by '|'
    std::string
        defaultExtension; // without the dot, appended to a name typed for saving without one
    std::string initialDirectory; // file-system encoding
    std::string title;            // the dialog's caption; empty for the toolkit's own
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Modal message box with an OK button.
    virtual void showMessage(const std::string& text) = 0;
    // Modal question with OK and Cancel; true when OK was chosen.
    virtual bool askOkCancel(const std::string& caption, const std::string& text) = 0;
    // Modal question with Yes and No; true when Yes was chosen. Asked as OK / Cancel unless an
    // implementation has real Yes and No buttons.
    virtual bool askYesNo(const std::string& caption, const std::string& text)
    {
        return askOkCancel(caption, text);
    }
    // File chooser; no value when cancelled.
    virtual std::optional<std::string> openFileName(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> saveFileName(const FileDialogOptions& options) = 0;
};

// The process's dialogs. Until a GUI or a test installs one, a silent stand-in that records
// nothing and answers every question with Cancel is in force.
Dialogs& dialogs();
void setDialogs(Dialogs* dialogs); // nullptr restores the silent stand-in

} // namespace quorvex::platform
