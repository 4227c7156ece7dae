#pragma once
// The production dialogs: Qt message boxes and file dialogs. Captions and texts arrive as
// Windows-1251 bytes; file paths are exchanged in the file system's own encoding so a chosen
// file always opens (fromFileName in TextCodec.h shows them). Each dialog is modal to the window
// it belongs to, not to the whole program, so that the exchange monitor stays usable beside it;
// input made before it appeared never reaches it. A message box without a caption of its own is
// titled "Quorvex".
#include "platform/Dialogs.h"

#include <QString>
#include <string>

class QWidget;

namespace quorvex::platform {

class QtDialogs final : public Dialogs {
public:
    // Dialogs belong to the window a DialogOwner names, else to the window shown modally last,
    // else to the active window, when parent is null.
    explicit QtDialogs(QWidget* parent = nullptr);

    void showMessage(const std::string& text) override;
    bool askOkCancel(const std::string& caption, const std::string& text) override;
    bool askYesNo(const std::string& caption, const std::string& text) override;
    std::optional<std::string> openFileName(const FileDialogOptions& options) override;
    std::optional<std::string> saveFileName(const FileDialogOptions& options) override;

private:
    [[nodiscard]] QWidget* parentWidget() const;

    QWidget* m_parent;
};

// Makes a process-wide QtDialogs the process's dialogs.
void installQtDialogs();

// For its lifetime, the process's dialogs belong to this window: a window of its own (the
// exchange monitor) asks its questions over itself, not over the window shown modally last.
class DialogOwner {
public:
    explicit DialogOwner(QWidget* window);
    ~DialogOwner();
    DialogOwner(const DialogOwner&) = delete;
    DialogOwner& operator=(const DialogOwner&) = delete;

private:
    QWidget* m_previous;
};

// The file an open dialog takes for a typed path: the path itself when it exists or has an
// extension; otherwise the path with "." + extension (as given, in lower or in upper case) when
// that file exists, so the dialog's default extension is tried before it says that the file is
// not there; otherwise the path as typed.
[[nodiscard]] QString existingOrWithExtension(const QString& typed, const QString& extension);

// "Текстовые файлы (*.txt)|*.TXT|Все|*.*" (Windows-1251, description|pattern pairs, patterns
// separated by ';') as a Qt filter list; each pattern also matches in upper and lower case.
[[nodiscard]] QString qtFileFilter(const std::string& windowsFilter);

// path with "." + extension appended when its file name has no extension of its own.
[[nodiscard]] std::string withDefaultExtension(const std::string& path,
                                               const std::string& extension);

} // namespace quorvex::platform
