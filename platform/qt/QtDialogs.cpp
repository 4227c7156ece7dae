#include "platform/qt/QtDialogs.h"

#include "platform/qt/TextCodec.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStringList>

namespace quorvex::platform {

namespace {

QString applicationTitle()
{
    const QString title = QGuiApplication::applicationDisplayName();
    return title.isEmpty() ? QStringLiteral("Quorvex") : title;
}

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

// An open dialog returns an existing file, which is taken as it is named.
std::optional<std::string> chosenFile(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    return toFileName(path);
}

// A name typed into a save dialog without an extension gets the default one.
std::optional<std::string> chosenSaveName(const QString& path, const FileDialogOptions& options)
{
    if (path.isEmpty())
        return std::nullopt;
    return withDefaultExtension(toFileName(path), options.defaultExtension);
}

QString startDirectory(const FileDialogOptions& options)
{
    return fromFileName(options.initialDirectory);
}

} // namespace

QtDialogs::QtDialogs(QWidget* parent) : m_parent(parent) {}

void QtDialogs::showMessage(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), fromCp1251(text), QMessageBox::Ok,
                    parentWidget());
    box.exec();
}

bool QtDialogs::askOkCancel(const std::string& caption, const std::string& text)
{
    QMessageBox box(QMessageBox::Question, fromCp1251(caption), fromCp1251(text),
                    QMessageBox::Ok | QMessageBox::Cancel, parentWidget());
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

bool QtDialogs::askYesNo(const std::string& caption, const std::string& text)
{
    QMessageBox box(QMessageBox::Question, fromCp1251(caption), fromCp1251(text),
                    QMessageBox::Yes | QMessageBox::No, parentWidget());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtDialogs::openFileName(const FileDialogOptions& options)
{
    const QString path =
        QFileDialog::getOpenFileName(parentWidget(), fromCp1251(options.title),
                                     startDirectory(options), qtFileFilter(options.filter));
    return chosenFile(path);
}

// The dialog never asks about replacing a file: the windows ask their own question, and the
// operator must not be asked twice.
std::optional<std::string> QtDialogs::saveFileName(const FileDialogOptions& options)
{
    const QString path = QFileDialog::getSaveFileName(
        parentWidget(), fromCp1251(options.title), startDirectory(options),
        qtFileFilter(options.filter), nullptr, QFileDialog::DontConfirmOverwrite);
    return chosenSaveName(path, options);
}

QWidget* QtDialogs::parentWidget() const
{
    if (m_parent)
        return m_parent;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
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
