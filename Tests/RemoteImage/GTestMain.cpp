// The main of the GoogleTest programs here: the Qt application their
// signals, images and queued calls need, then every test.
#include "SanitizerDefaults.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
