#include <QCoreApplication>
#include <gtest/gtest.h>

// Core classes are QObjects with queued calls and timers: every test binary gets an application object.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
