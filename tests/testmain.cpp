// Entry point of the non-GUI test binaries: isolates the per-user folders,
// then runs GoogleTest inside a QCoreApplication.
#include "testsupport.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    TestEnvironment env;
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
