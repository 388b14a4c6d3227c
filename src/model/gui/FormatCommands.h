#pragma once

#include <QObject>
#include <QString>

class WindowHost;

// The format entries of the Sizes menu (Select, Copy, Erase and Import Size) and the
// toolbar's select-format and erase-format buttons.
class FormatCommands : public QObject {
    Q_OBJECT
public:
    explicit FormatCommands(WindowHost& window);

    // The file chosen by the last Import Size.
    const QString& importFileName() const { return importFileName_; }

private:
    void selectFormat();
    void selectFormatFromToolbar();
    void copyFormat();
    void eraseFormat();
    void importFormat();

    WindowHost& window_;
    QString importFileName_;
};
