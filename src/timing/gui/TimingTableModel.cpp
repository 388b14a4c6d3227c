#include "timing/gui/TimingTableModel.h"

#include <QColor>

using namespace ShaftTiming;

namespace {
QString three(int n) {
    return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}
} // namespace

TimingTableModel::TimingTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void TimingTableModel::setHeaders(const QStringList& headers) {
    headers_ = headers;
    emit headerDataChanged(Qt::Horizontal, 0, Count - 1);
}

void TimingTableModel::setTiming(const FormatTiming& timing) {
    beginResetModel();
    timing_ = timing;
    lines_.clear();
    for (std::size_t c = 0; c < timing_.Cams.size(); ++c) {
        const int phases = int(timing_.Cams[c].Phases.size());
        if (phases == 0)
            lines_.push_back({int(c), -1, true});
        for (int p = 0; p < phases; ++p)
            lines_.push_back({int(c), p, p == 0});
    }
    endResetModel();
}

int TimingTableModel::camAt(int row) const {
    if (row < 0 || row >= int(lines_.size()))
        return 0;
    return timing_.Cams[std::size_t(lines_[std::size_t(row)].cam)].Cam;
}

int TimingTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(lines_.size());
}

int TimingTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count;
}

QString TimingTableModel::text(const Line& line, int column) const {
    const CamTiming& cam = timing_.Cams[std::size_t(line.cam)];
    if (column <= Shift) {
        if (!line.first)
            return QString();
        switch (column) {
        case Cam:
            return QStringLiteral("%1").arg(cam.Cam, 2, 10, QLatin1Char('0'));
        case Name:
            return cam.Name;
        case Advance:
            return QString::number(cam.AdvanceMs);
        default:
            return TenthsText((cam.ShiftMilli + 50) / 100);
        }
    }
    if (line.phase < 0)
        return QString();
    const TimedPhase& p = cam.Phases[std::size_t(line.phase)];
    switch (column) {
    case On:
        return three(p.On);
    case Off:
        return three(p.Off);
    case OnAtSpeed:
        return AngleTenthsText(p.OnAtSpeed);
    case OffAtSpeed:
        return AngleTenthsText(p.OffAtSpeed);
    case PhaseMs:
        return TenthsText(p.Tenths);
    default:
        return std::size_t(line.phase) < cam.Gaps.size()
                   ? TenthsText(cam.Gaps[std::size_t(line.phase)].Tenths)
                   : QString();
    }
}

bool TimingTableModel::isShort(const Line& line, int column) const {
    if (line.phase < 0)
        return false;
    const CamTiming& cam = timing_.Cams[std::size_t(line.cam)];
    if (column == PhaseMs)
        return cam.Phases[std::size_t(line.phase)].Short;
    return column == GapMs && std::size_t(line.phase) < cam.Gaps.size() &&
           cam.Gaps[std::size_t(line.phase)].Short;
}

QVariant TimingTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(lines_.size()))
        return {};
    const Line& line = lines_[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return text(line, index.column());
    case Qt::ForegroundRole:
        if (isShort(line, index.column()))
            return QColor(255, 0, 0);
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == Name ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                      : int(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TimingTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= headers_.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return headers_.at(section);
}
