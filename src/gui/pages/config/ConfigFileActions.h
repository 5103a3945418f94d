#pragma once

#include <QObject>
#include <QString>

#include <functional>

class AppCore;
class QWidget;

// What the buttons "In Datei schreiben..." and "Aus Datei lesen..." do: the configuration image saved
// to and loaded from ".KVX" files through the file dialogs.
class ConfigFileActions : public QObject
{
    Q_OBJECT
public:
    enum class Dialog
    {
        Save,
        Load
    };
    // Asks for a file: the dialog, the directory and the proposed name; an empty result is a cancel.
    using PathPrompt = std::function<QString(Dialog dialog, const QString& directory, const QString& proposed)>;

    // The file type of every dialog that picks a configuration file.
    static QString nameFilter();

    // `window` parents the dialogs.
    ConfigFileActions(AppCore& core, QWidget* window);

    // Commits the showing page, asks for a name and writes the image. False when cancelled or failed.
    bool save();
    // Asks for a file and loads it into the image and the pages. False when cancelled or refused.
    bool load();

    void setPathPrompt(PathPrompt prompt) { m_prompt = std::move(prompt); }
    QString directory() const { return m_directory; }

private:
    QString askPath(Dialog dialog, const QString& proposed);
    void remember(const QString& path);

    AppCore& m_core;
    QWidget* m_window;
    QString m_directory;
    PathPrompt m_prompt;
};
