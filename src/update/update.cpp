// Anchor of the update library; its sources sit beside this file.
