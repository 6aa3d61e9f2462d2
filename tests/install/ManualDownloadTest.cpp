#include "install/ManualDownload.h"
#include "platform/Locations.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

TEST (ManualDownload, AManualIsNamedAfterItsTitleKeepingItsSpacesInDocuments)
{
    ScopedSandbox sandbox;
    EXPECT_EQ (ManualDownload::fileNameFor ("My Synth"), "My Synth manual.pdf");
    EXPECT_EQ (ManualDownload::fileNameFor ("../../x"), ".._.._x manual.pdf");
    EXPECT_EQ (ManualDownload::fileFor ("My Synth"), sandbox.root().getChildFile ("Documents/My Synth manual.pdf"));
}
