#include "platform/qt/QtDialogs.h"

#include "platform/qt/OneClickAtATime.h"
#include "platform/qt/TextCodec.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStringList>

#include <utility>

namespace quorvex::platform {

namespace {

QWidget* g_owner = nullptr; // set by a DialogOwner

QString captionOrTitle(const std::string& caption)
{
    return caption.empty() ? QStringLiteral("Quorvex") : fromCp1251(caption);
}

// Modal to the window it belongs to (to the whole program when it belongs to none); input made
// before it appeared, or so soon after that the operator cannot have seen it, was meant for what
// was there before.
int execOverItsWindow(QDialog& dialog)
{
    dialog.setWindowModality(dialog.parentWidget() != nullptr ? Qt::WindowModal
                                                              : Qt::ApplicationModal);
    inputGate().closeForADoubleClick();
    return dialog.exec();
}

// Qt's own dialog everywhere, so that a typed name is judged here and the dialog speaks the
// program's language and locale.
void setUpFileDialog(QFileDialog& dialog, const FileDialogOptions& options)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!options.title.empty()) // otherwise the dialog's own "Открыть" or "Сохранить как"
        dialog.setWindowTitle(fromCp1251(options.title));
    dialog.setDirectory(fromFileName(options.initialDirectory));
    dialog.setNameFilter(qtFileFilter(options.filter));
}

// An open dialog that tries a typed name that is not there with its default extension before it
// says that the file was not found.
class OpenFileDialog final : public QFileDialog {
public:
    OpenFileDialog(QWidget* parent, const FileDialogOptions& options)
        : QFileDialog(parent), m_extension(fromCp1251(options.defaultExtension))
    {
        setUpFileDialog(*this, options);
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::ExistingFile);
    }

protected:
    void accept() override
    {
        const QStringList typed = selectedFiles();
        if (typed.size() == 1) {
            const QString chosen = existingOrWithExtension(typed.front(), m_extension);
            if (chosen != typed.front()) {
                // The name box takes a chosen file only while it is not being typed into.
                if (QWidget* focused = focusWidget())
                    focused->clearFocus();
                selectFile(chosen);
            }
        }
        QFileDialog::accept();
    }

private:
    QString m_extension;
};

QString patternList(const QString& windowsPatterns)
{
    QStringList patterns;
    for (const QString& raw : windowsPatterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        // "*.*" matches every file on Windows, names without a dot too; elsewhere "*" does.
        const QString pattern =
            raw.trimmed() == QStringLiteral("*.*") ? QStringLiteral("*") : raw.trimmed();
        for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()})
            if (!variant.isEmpty() && !patterns.contains(variant))
                patterns.append(variant);
    }
    return patterns.join(QLatin1Char(' '));
}

// The description without a pattern list of its own in parentheses at its end.
QString bareDescription(const QString& description)
{
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QString bare = description;
    bare.remove(trailingPatterns);
    return bare.isEmpty() ? description.trimmed() : bare.trimmed();
}

// A name typed into a save dialog without an extension gets the default one.
std::optional<std::string> chosenSaveName(const QString& path, const FileDialogOptions& options)
{
    if (path.isEmpty())
        return std::nullopt;
    return withDefaultExtension(toFileName(path), options.defaultExtension);
}

} // namespace

QtDialogs::QtDialogs(QWidget* parent) : m_parent(parent) {}

void QtDialogs::showMessage(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, captionOrTitle({}), fromCp1251(text), QMessageBox::Ok,
                    parentWidget());
    execOverItsWindow(box);
}

bool QtDialogs::askOkCancel(const std::string& caption, const std::string& text)
{
    QMessageBox box(QMessageBox::Question, captionOrTitle(caption), fromCp1251(text),
                    QMessageBox::Ok | QMessageBox::Cancel, parentWidget());
    box.setDefaultButton(QMessageBox::Ok);
    return execOverItsWindow(box) == QMessageBox::Ok;
}

bool QtDialogs::askYesNo(const std::string& caption, const std::string& text)
{
    QMessageBox box(QMessageBox::Question, captionOrTitle(caption), fromCp1251(text),
                    QMessageBox::Yes | QMessageBox::No, parentWidget());
    box.setDefaultButton(QMessageBox::Yes);
    return execOverItsWindow(box) == QMessageBox::Yes;
}

std::optional<std::string> QtDialogs::openFileName(const FileDialogOptions& options)
{
    OpenFileDialog dialog(parentWidget(), options);
    if (execOverItsWindow(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return toFileName(dialog.selectedFiles().front());
}

// The dialog never asks about replacing a file: the windows ask their own question, and the
// operator must not be asked twice.
std::optional<std::string> QtDialogs::saveFileName(const FileDialogOptions& options)
{
    QFileDialog dialog(parentWidget());
    setUpFileDialog(dialog, options);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (execOverItsWindow(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return chosenSaveName(dialog.selectedFiles().front(), options);
}

QWidget* QtDialogs::parentWidget() const
{
    if (m_parent)
        return m_parent;
    if (g_owner)
        return g_owner;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

DialogOwner::DialogOwner(QWidget* window) : m_previous(std::exchange(g_owner, window)) {}

DialogOwner::~DialogOwner()
{
    g_owner = m_previous;
}

void installQtDialogs()
{
    static QtDialogs processDialogs;
    setDialogs(&processDialogs);
}

QString qtFileFilter(const std::string& windowsFilter)
{
    const QStringList parts = fromCp1251(windowsFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = patternList(parts[i + 1]);
        if (!patterns.isEmpty())
            filters.append(bareDescription(parts[i]) + QStringLiteral(" (") + patterns +
                           QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

QString existingOrWithExtension(const QString& typed, const QString& extension)
{
    const QFileInfo file(typed);
    if (extension.isEmpty() || file.exists() || file.fileName().contains(QLatin1Char('.')))
        return typed;
    // Windows finds "name.ART" as "name.art"; here the letter case counts, so both are tried.
    for (const QString& variant : {extension, extension.toLower(), extension.toUpper()}) {
        const QString withExtension = typed + QLatin1Char('.') + variant;
        if (QFileInfo::exists(withExtension))
            return withExtension;
    }
    return typed;
}

std::string withDefaultExtension(const std::string& path, const std::string& extension)
{
    if (extension.empty())
        return path;
    const auto nameStart = path.find_last_of("/\\");
    const std::string name = nameStart == std::string::npos ? path : path.substr(nameStart + 1);
    if (name.empty() || name.find('.') != std::string::npos)
        return path;
    return path + "." + extension;
}

} // namespace quorvex::platform
