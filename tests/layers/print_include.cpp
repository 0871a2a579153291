// Must not compile as core code.
#include <QtPrintSupport/QPrinter>
