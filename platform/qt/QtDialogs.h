#pragma once
// The production dialogs: Qt message boxes and file dialogs. Captions and texts arrive as
// Windows-1251 bytes; file paths are exchanged in the file system's own encoding so a chosen
// file always opens (fromFileName in TextCodec.h shows them).
#include "platform/Dialogs.h"

#include <QString>
#include <string>

class QWidget;

namespace quorvex::platform {

class QtDialogs final : public Dialogs {
public:
    // Dialogs are parented to the active window when parent is null.
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

// "Текстовые файлы (*.txt)|*.TXT|Все|*.*" (Windows-1251, description|pattern pairs, patterns
// separated by ';') as a Qt filter list; each pattern also matches in upper and lower case.
[[nodiscard]] QString qtFileFilter(const std::string& windowsFilter);

// path with "." + extension appended when its file name has no extension of its own.
[[nodiscard]] std::string withDefaultExtension(const std::string& path,
                                               const std::string& extension);

} // namespace quorvex::platform
