#include "ui/pages/TableContent.h"

void TableContent::mouseDown (const juce::MouseEvent&)
{
    if (delegate != nullptr)
        delegate->contentClicked();
}
