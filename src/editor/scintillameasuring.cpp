#include "editor/scintillameasuring.h"

#include "editor/monospacewidths.h"

#include "PlatQt.h"

void installMonospaceMeasuring()
{
    Scintilla::Internal::SetMeasureWidthsUTF8Function(measureMonospaceUtf8);
}

void removeMonospaceMeasuring()
{
    Scintilla::Internal::SetMeasureWidthsUTF8Function(nullptr);
}
