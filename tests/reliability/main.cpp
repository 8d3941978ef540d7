// The grid operations need a Qt application object; the engine tests do not mind one.
#ifdef SPECTRAFIL_HAVE_FILTERS
#include <QCoreApplication>
#endif

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
#ifdef SPECTRAFIL_HAVE_FILTERS
    QCoreApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
