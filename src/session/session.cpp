// Anchor of the session library; its sources sit beside this file.
