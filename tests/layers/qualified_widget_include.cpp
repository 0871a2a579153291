// Must not compile as core code, even spelled with its module folder.
#include <QtWidgets/QLabel>
