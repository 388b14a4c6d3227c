#pragma once

#include <QObject>
#include <QString>

class WindowHost;
struct Session;

// File > New, Open, Save (F9), Save As, the recent-file entries, and the toolbar's New,
// Open and Save buttons: everything that replaces or stores the whole program.
class FileCommands : public QObject {
    Q_OBJECT
public:
    explicit FileCommands(WindowHost& window);

    void newProgram();
    void open();
    void save();
    void saveAs();
    void openRecent(const QString& path);
    // A file named from outside (the command line, a later start): one that cannot be read is
    // named with the cause, and the program stays as it was; otherwise as Open.
    void openNamed(const QString& path);

private:
    Session& session() const;
    // True when there is nothing unsaved, or the operator agreed to drop it.
    bool mayDiscard();
    // New without the question: the empty program, its title, the drawing.
    void startNew();
    void load(const QString& path);
    // Writes the program to path; on failure the operator sees "ERROR " with the number and
    // what failed, and false comes back with the model untouched.
    bool writeProgram(const QString& path, const QString& title);

    WindowHost& window_;
};
