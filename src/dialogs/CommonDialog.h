#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>

class CommonDialogBackend;

// Raised by a Show... operation that was cancelled while CancelError is set.
class CommonDialogCancel : public std::runtime_error {
public:
    static constexpr int Number = 32755;
    explicit CommonDialogCancel(QString source)
        : std::runtime_error("Cancel."), source_(std::move(source)) {}
    int number() const { return Number; }
    QString description() const { return QStringLiteral("Cancel."); }
    // "FileOpenDialog", "FileSaveDialog" or "PrintDialog".
    const QString& source() const { return source_; }

private:
    QString source_;
};

// The one shared wrapper over the open, save and printer dialogs.
// Callers set the properties they need, call one Show... and read the results back.
// Every property keeps the value the previous caller left.
class CommonDialog {
public:
    // The print dialog flag that says the printer driver makes the copies.
    static constexpr uint32_t UseDevModeCopies = 0x00040000;
    // ExtendedError of a file dialog whose chosen path does not fit in MaxFileSize.
    static constexpr int32_t BufferTooSmallError = 0x3003;

    explicit CommonDialog(CommonDialogBackend& backend) : backend_(&backend) {}
    void setBackend(CommonDialogBackend& backend) { backend_ = &backend; }
    CommonDialogBackend& backend() const { return *backend_; }

    QString DialogTitle;
    bool CancelError = false;
    uint32_t Flags = 0;
    QString DefaultExt;
    QString FileName;
    QString Filter;
    int32_t FilterIndex = 0;
    QString InitDir;
    void* Parent = nullptr; // the owner window; none when null

    QString FileTitle() const { return fileTitle_; }
    int32_t ExtendedError() const { return extendedError_; }
    quintptr hdc() const { return hdc_; }

    // Room for the returned path, its terminating zero included: a longer path fails the
    // dialog with BufferTooSmallError.
    int16_t MaxFileSize() const { return maxFileSize_; }
    void setMaxFileSize(int16_t size) { maxFileSize_ = size < 1 ? 255 : size; }

    int16_t Copies() const;
    void setCopies(int16_t copies) { copies_ = copies < 1 ? 0 : copies; }

    bool ShowOpen();
    bool ShowSave();
    bool ShowPrinter();

    // The pairs of the filter ("Cam files|*.cam|All|*.*" gives two), for the backends.
    struct FilterEntry {
        QString description;
        QString pattern;
    };
    QList<FilterEntry> FilterEntries() const;

private:
    friend class CommonDialogBackend;
    bool finish(bool confirmed, int32_t error, const char* source, bool fileDialog);
    bool showFile(bool save);

    CommonDialogBackend* backend_;
    QString fileTitle_;
    int32_t extendedError_ = 0;
    quintptr hdc_ = 0;
    int16_t maxFileSize_ = 256;
    int16_t copies_ = 0;
};

// The platform dialogs behind the wrapper: Qt's in the gui, a script in the tests.
// Each returns true on confirmation and fills the wrapper's properties it is given;
// on cancel it returns false and sets error (0 for a plain cancel).
class CommonDialogBackend {
public:
    virtual ~CommonDialogBackend() = default;
    struct FileChoice {
        QString path;
        int filterIndex = 0;
    };
    virtual bool chooseFile(bool save, const CommonDialog& request, FileChoice& choice,
                            int32_t& error) = 0;
    struct PrinterChoice {
        QString printerName;
        int16_t copies = 1;
        uint32_t flags = 0;
        quintptr hdc = 0;
    };
    virtual bool choosePrinter(const CommonDialog& request, PrinterChoice& choice,
                               int32_t& error) = 0;
};
