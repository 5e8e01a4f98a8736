#include "PrinterStatus.h"

#include <QHash>
#include <bit>

namespace PrinterStatus {

QString text(quint32 status)
{
    static const char* const names[] = {
        "PAUSED", "ERROR", "PENDING_DELETION", "PAPER_JAM", "PAPER_OUT", "MANUAL_FEED",
        "PAPER_PROBLEM", "OFFLINE", "IO_ACTIVE", "BUSY", "PRINTING", "OUTPUT_BIN_FULL",
        "NOT_AVAILABLE", "WAITING", "PROCESSING", "INITIALIZING", "WARMING_UP", "TONER_LOW",
        "NO_TONER", "PAGE_PUNT", "USER_INTERVENTION", "OUT_OF_MEMORY", "DOOR_OPEN"};
    if (std::popcount(status) == 1) {
        const int bit = std::countr_zero(status);
        if (bit < int(std::size(names)))
            return QString::fromLatin1(names[bit]);
    }
    return QStringLiteral("Ready");
}

quint32 word(int queueState, const QStringList& reasons)
{
    static const QHash<QString, quint32> byReason = {
        {QStringLiteral("paused"), Paused},
        {QStringLiteral("moving-to-paused"), Paused},
        {QStringLiteral("media-jam"), PaperJam},
        {QStringLiteral("media-empty"), PaperOut},
        {QStringLiteral("media-needed"), PaperOut},
        {QStringLiteral("input-tray-missing"), PaperProblem},
        {QStringLiteral("offline"), Offline},
        {QStringLiteral("shutdown"), Offline},
        {QStringLiteral("timed-out"), NotAvailable},
        {QStringLiteral("connecting-to-device"), Initializing},
        {QStringLiteral("output-area-full"), OutputBinFull},
        {QStringLiteral("toner-low"), TonerLow},
        {QStringLiteral("marker-supply-low"), TonerLow},
        {QStringLiteral("toner-empty"), NoToner},
        {QStringLiteral("marker-supply-empty"), NoToner},
        {QStringLiteral("door-open"), DoorOpen},
        {QStringLiteral("cover-open"), DoorOpen},
        {QStringLiteral("spool-area-full"), OutOfMemory},
    };
    quint32 bits = 0;
    for (QString reason : reasons) {
        for (const char* suffix : {"-error", "-warning", "-report"})
            if (reason.endsWith(QLatin1String(suffix))) {
                reason.chop(int(qstrlen(suffix)));
                break;
            }
        bits |= byReason.value(reason, 0);
    }
    switch (queueState) {
    case 1: // printing
        bits |= Printing;
        break;
    case 2: // the last job was aborted
    case 3: // stopped: the reasons say why when they are known
        if (bits == 0)
            bits = Error;
        break;
    default:
        break;
    }
    return bits;
}

} // namespace PrinterStatus
