#pragma once
// The first run's motif library: the shipped library folder is copied into the user's data
// folder, where the user can add motifs, and the settings point there (as an installer
// would set it up).

#include <QString>

// Copies the motifs of `shippedLibrary` into "<userDataFolder>library" (made when missing;
// a motif already there is kept). Returns the user's library folder (without a trailing
// separator), or empty when there is no user data folder or it cannot be made.
QString installUserLibrary(const QString& shippedLibrary, const QString& userDataFolder);
