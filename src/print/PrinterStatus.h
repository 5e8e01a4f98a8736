#pragma once
// The printer status word: the platform's status flags, one bit per condition (bit 0 paused,
// 1 error, 2 pending deletion, 3 paper jam, 4 paper out, 5 manual feed, 6 paper problem,
// 7 offline, 8 I/O active, 9 busy, 10 printing, 11 output bin full, 12 not available,
// 13 waiting, 14 processing, 15 initialising, 16 warming up, 17 toner low, 18 no toner,
// 19 page punt, 20 user intervention, 21 out of memory, 22 door open).

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace PrinterStatus {
enum Bit : quint32 {
    Paused = 1u << 0, Error = 1u << 1, PendingDeletion = 1u << 2, PaperJam = 1u << 3,
    PaperOut = 1u << 4, ManualFeed = 1u << 5, PaperProblem = 1u << 6, Offline = 1u << 7,
    IoActive = 1u << 8, Busy = 1u << 9, Printing = 1u << 10, OutputBinFull = 1u << 11,
    NotAvailable = 1u << 12, Waiting = 1u << 13, Processing = 1u << 14,
    Initializing = 1u << 15, WarmingUp = 1u << 16, TonerLow = 1u << 17, NoToner = 1u << 18,
    PagePunt = 1u << 19, UserIntervention = 1u << 20, OutOfMemory = 1u << 21,
    DoorOpen = 1u << 22
};

// The text shown for a status word: the name of its bit when exactly one known bit is set,
// "Ready" for 0 and for every combination.
QString text(quint32 status);

// The status word of a printer from what the print system tells: the queue state (0 idle,
// 1 printing, 2 aborted, 3 error/stopped, as Qt numbers them) and the CUPS state reasons
// ("media-empty-error", "paused", ...; the "-error", "-warning" and "-report" endings are
// ignored). Unknown reasons add nothing.
quint32 word(int queueState, const QStringList& reasons = {});
} // namespace PrinterStatus
