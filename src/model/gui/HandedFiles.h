#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class FileCommands;
class QWidget;

// The cam files q517 is asked to open from outside: the one on its command line and those a
// later start hands over. The window comes to the front and each file opens as File > Open
// opens one, at once or, while a modal window is open, once it has closed: a transfer or a
// question is never cut short.
class HandedFiles : public QObject {
    Q_OBJECT
public:
    HandedFiles(QWidget& window, FileCommands& files);

    // Raises the window and, when file is not empty, opens it when the window is free.
    void take(const QString& file);
    // The window has started up and is shown: what was handed before opens now, nothing
    // earlier (the start-up sizes the program and would throw a file away).
    void start();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Raises the window and asks for the keyboard; a file then waits for the activation.
    void bringWindowUp();
    void openNext();

    QWidget& window_;
    FileCommands& files_;
    QStringList pending_;
    bool opening_ = false;
    bool started_ = false;
    bool awaitingActivation_ = false;
};
