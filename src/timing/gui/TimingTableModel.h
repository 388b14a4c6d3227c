#pragma once

#include "timing/ShaftTiming.h"

#include <QAbstractTableModel>
#include <QStringList>

// The per-cam table of the timing window: a cam's first line holds its number, name, advance
// and shift; each line one phase (ON, OFF, where they switch at speed, its time) and the gap
// that follows it. A cam without phases keeps one line, so every cam can be reached.
// Times shorter than the minimum are red.
class TimingTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Cam,
        Name,
        Advance,
        Shift,
        On,
        Off,
        OnAtSpeed,
        OffAtSpeed,
        PhaseMs,
        GapMs,
        Count
    };

    explicit TimingTableModel(QObject* parent = nullptr);

    void setHeaders(const QStringList& headers);
    void setTiming(const ShaftTiming::FormatTiming& timing);
    // The cam a line belongs to.
    int camAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Line {
        int cam = 0;    // index into timing_.Cams
        int phase = -1; // -1: a cam without phases
        bool first = false;
    };
    QString text(const Line& line, int column) const;
    bool isShort(const Line& line, int column) const;

    ShaftTiming::FormatTiming timing_;
    std::vector<Line> lines_;
    QStringList headers_;
};
