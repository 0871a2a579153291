// Running glyfora-convert as its own process in the tool's tests: the run and its set-up
// (pipes, files, size limits, terminals), a pseudo-terminal played by the test, what the
// program's own scan makes of a picture, and the pictures the tests convert.
#pragma once

#include "imageops/SelectionRect.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestFiles.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <sys/ioctl.h>
#include <sys/resource.h>

namespace tooltest {

// The glyfora-convert under test.
extern const QString ToolPath;

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

struct RunSetup {
    QString stdoutFile;          // standard output goes there instead of a pipe
    rlim_t fileSizeLimit = 0;    // writes past this many bytes fail as on a full disk
    QByteArray input;            // standard input's bytes
    int stderrTerminal = -1;     // a terminal's descriptor to put in place of standard error
    bool stdoutTerminal = false; // standard output on that terminal too
    QStringList environment;     // NAME=VALUE added to the tool's environment
};

// A pseudo-terminal: the tool writes to `terminal`, the test reads what it said.
struct Terminal {
    Terminal();
    ~Terminal();
    // Everything written so far, once the tool has ended.
    QByteArray Said();

    int master = -1;
    int terminal = -1;
};

// No display, no platform choice: only the folders the tool needs.
void RunProgram(ToolRun& run, const QString& program, const QStringList& args,
                const RunSetup& setup = {});
void RunTool(ToolRun& run, const QStringList& args, const RunSetup& setup = {});
// Through the shell, for names that are not UTF-8: `script` runs with $1 the tool and $2
// the folder, and writes such names with printf escapes.
void RunInShell(ToolRun& run, const QString& script, const QString& folder);

QByteArray Bytes(const QString& path);

// The tool on a terminal of its own, as a person runs it: a pseudo-terminal of the given
// size is its controlling terminal and its standard output and error, and the test plays
// the terminal. It answers the background question with `answer`, or ends the tool with
// SIGTERM instead. Standard input is the terminal too, or a pipe holding `input`.
struct TerminalSession {
    QByteArray said;       // what the tool wrote on the terminal, line ends as written
    bool asked = false;    // the background colour was asked for
    int status = -1;       // as waitpid gives it
    bool modeKept = false; // echo and line mode on at the end, as on a new terminal
};

void RunOnTerminal(TerminalSession& session, const QStringList& args, const winsize& size,
                   const QByteArray& answer, const QStringList& environment,
                   const QByteArray& input = {}, bool terminateWhenAsked = false);

using testsupport::DeviceNode;
using testsupport::ModeOf;
using testsupport::Names;
using testsupport::ReadAll;
using testsupport::Store;
using testsupport::TypeOf;
using testsupport::WriteFile;

QString IntermediatePath();

// The grid picture with the ramp "0123456789ABCDEF": column x of the 6 x 2 picture reads
// as the character x, so the text is two rows of "012345".
const QString GridRamp = QStringLiteral("0123456789ABCDEF");
const QByteArray GridText = "012345\r\n012345\r\n";

// What the program itself would produce for the picture with the stored settings.
QString ProgramScan(const QString& path, bool html, const mGlyfora::SelectionRect& cut = {});

// Each test class of the tool derives from it: the folders and pictures every test works
// with, made once, and the process values reset before each test.
class ToolTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { MakePictures(); }
    void init() { testsupport::ResetProcessValues(); }

protected:
    void MakePictures();
    // Five noise pictures p0.bmp ... p4.bmp of different sizes, made once.
    QStringList BatchPictures();

    QTemporaryDir dir_;      // outputs
    QTemporaryDir pictures_; // inputs
    QTemporaryDir devices_;  // device nodes of the test's own
    QString picture_;
    QStringList batch_;
    QString grid_;
    QString whiteBlack_;
    QString wide_;
};

} // namespace tooltest
