#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <sys/stat.h>

// Gives the test process a home, configuration and runtime folder of its own, so that no test
// reads or writes the real user's files or meets a running player. Made before the application
// object, which reads them.
class TestHome
{
public:
    TestHome()
    {
        const QByteArray home = m_folder.path().toLocal8Bit();
        const QByteArray config = home + "/.config";
        const QByteArray runtime = home + "/runtime";
        setenv("HOME", home.constData(), 1);
        setenv("XDG_CONFIG_HOME", config.constData(), 1);
        ::mkdir(runtime.constData(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.constData(), 1);
    }
    QString Path() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
};

#define TAVRIX_TEST_MAIN_WITH(ApplicationType, TestObject)                                         \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        TestHome home;                                                                             \
        ApplicationType application(argc, argv);                                                   \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

// For tests of the plain cores, which need no window system.
#define TAVRIX_CORE_TEST_MAIN(TestObject) TAVRIX_TEST_MAIN_WITH(QCoreApplication, TestObject)
// For tests that build widgets.
#define TAVRIX_WIDGET_TEST_MAIN(TestObject) TAVRIX_TEST_MAIN_WITH(QApplication, TestObject)
