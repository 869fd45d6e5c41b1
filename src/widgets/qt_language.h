#pragma once

// Qt's own texts (standard buttons, file dialogs) in the program's language:
// Qt's Russian translations are installed while Russian is chosen.
void ApplyQtLanguage(bool english);
