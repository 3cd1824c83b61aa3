#include <QApplication>

#include <gtest/gtest.h>

// ThreadSanitizer reads these at start-up. Qt is not built with the sanitizer,
// so the locks and semaphores inside it are invisible to it: the raster engine
// converts and blends large images in segments on its own pooled threads
// (QImage's conversion, QRunnable's allocation and release, the segments'
// memcpy), which it then reports as races. Those accesses are made from Qt's
// code; accesses from ours, the layer's included, are still checked.
extern "C" const char *__tsan_default_options()
{
    return "ignore_noninstrumented_modules=1";
}

// The widgets need an application object on the main thread; without a
// display the offscreen platform stands in.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
