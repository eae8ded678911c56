// The target folder the main dialog proposes at start.
#pragma once

#include "../../framework/String.h"

// The viewer's "NuvadoDir" (HKLM\SOFTWARE\Quendramark\Texorra), else the
// system's "ProgramFilesDir" followed by "\Texorra\Zorvalia". Each value is
// read into a buffer of MAX_PATH bytes; a value that does not fit is not
// read. FALSE when neither value could be read; pstrTarget is then left
// alone.
BOOL ReadDefaultTarget(CString* pstrTarget);
