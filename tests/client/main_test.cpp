// Runs the real client programs, the native one and the 32- and 64-bit client.exe under Wine,
// against scripted servers and the demo server's chaos mode on loopback and
// compares their standard output byte for byte and their exit status.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "reference_framing.h"

namespace {

using Clock = std::chrono::steady_clock;

// Each scenario has a client build of its own whose port is the base plus the
// scenario's number; the Windows builds count from a base of their own.
enum Scenario {
    closeAtOnce,
    refusedConnection,
    splitMessage,
    messagesInOneChunk,
    overlongMessage,
    resetConnection,
    chaoticServer,
    allocationFailure,
    scenarioCount
};
static_assert(scenarioCount == CLIENT_TEST_SCENARIOS, "one client build per scenario");

enum class Platform { native, wine, wine64 };

const char* platformName(Platform platform) {
    static const char* const names[] = {"native", "wine", "wine64"};
    return names[static_cast<int>(platform)];
}

void PrintTo(Platform platform, std::ostream* stream) {
    *stream << platformName(platform);
}

// Wine's first run in a build folder makes its prefix, which takes a while
// under emulation.
const int nativeTimeoutSeconds = 20;
const int wineTimeoutSeconds = 150;
const int serverWaitSeconds = 170;
const int portWaitSeconds = 60;
// Gives each write time to arrive as a chunk of its own.
const int pauseMilliseconds = 60;
const int exitStatusOfMinusOne = 255;
// The failing-allocation build's status when no allocation failed.
const int unreachedStatus = 3;
const int allocationLimit = 200;
const size_t overlongBody = 5000;
const size_t keptBody = 4096;
// The demo server's chaos mode: the seeds played by default, fewer under Wine.
// MARROWBY_CHAOS_FIRST_SEED and MARROWBY_CHAOS_SEEDS choose the native ones.
const int firstChaosSeed = 1;
const int nativeChaosSeeds = 50;
const int wineChaosSeeds = 3;
// Shown of each output where they part.
const size_t differenceContext = 48;

const char header[] = "Resolved hostname.\nConnected to Marrowby network server.\n";
const char closedLine[] = "Connection closed.\r\n";
const char errorLine[] = "Error on socket.\r\n";
const char outOfMemoryLine[] = "Out of memory.\n";

std::string wireInt(uint32_t value) {
    std::string bytes(4, '\0');
    for (size_t i = 0; i < bytes.size(); i++) {
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

std::string frame(const std::string& body) {
    return wireInt(static_cast<uint32_t>(body.size())) + body;
}

std::string expectedLogin() {
    std::string user = USER_NAME;
    std::string password = PASSWORD;
    std::string content = wireInt(1) + frame(user) + frame(password) + wireInt(156);
    return frame(content);
}

// What the client prints for a message: every byte, prefix included, as a
// letter or a space.
std::string printed(const std::string& message) {
    std::string text = message;
    for (char& c : text) {
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        c = letter ? c : ' ';
    }
    return "\r\nMessage:\r\n" + text + "\r\n";
}

// Windows' text-mode standard output writes every line feed as CR LF.
std::string forPlatform(const std::string& output, Platform platform) {
    if (platform == Platform::native) {
        return output;
    }
    std::string converted;
    for (char c : output) {
        if (c == '\n') {
            converted += '\r';
        }
        converted += c;
    }
    return converted;
}

void pause() {
    std::this_thread::sleep_for(std::chrono::milliseconds(pauseMilliseconds));
}

bool waitReadable(int descriptor, Clock::time_point deadline) {
    int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
    pollfd poller = {descriptor, POLLIN, 0};
    return left > 0 && poll(&poller, 1, left) == 1;
}

// A loopback socket bound to the port, listening or not. Waits while another
// run of these tests holds the port. Kept from the programs that the tests
// start: a wineserver they start would hold the port for as long as it lingers.
int bindPort(int port, bool listening) {
    Clock::time_point deadline = Clock::now() + std::chrono::seconds(portWaitSeconds);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    while (Clock::now() < deadline) {
        int descriptor = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
        int reuse = 1;
        setsockopt(descriptor, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof(reuse));
        if (bind(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
            (!listening || listen(descriptor, 1) == 0)) {
            return descriptor;
        }
        close(descriptor);
        pause();
    }
    return -1;
}

enum class Ending { close, reset };

// Accepts one client on its own thread, takes its login, plays the writes
// with a pause after each, and ends the connection.
class ScriptedServer {
public:
    ScriptedServer(int port, std::vector<std::string> writes, Ending ending)
        : writes(std::move(writes)), ending(ending), listener(bindPort(port, true)) {
        if (listener >= 0) {
            worker = std::thread(&ScriptedServer::serve, this);
        }
    }

    ~ScriptedServer() {
        finish();
    }

    bool listening() const {
        return listener >= 0;
    }

    // Everything the client sent, once the server is done.
    std::string received() {
        finish();
        return bytes;
    }

private:
    void finish() {
        if (worker.joinable()) {
            worker.join();
        }
        if (listener >= 0) {
            close(listener);
            listener = -1;
        }
    }

    void serve() {
        Clock::time_point deadline = Clock::now() + std::chrono::seconds(serverWaitSeconds);
        if (!waitReadable(listener, deadline)) {
            return;
        }
        int connection = accept(listener, nullptr, nullptr);
        if (connection < 0) {
            return;
        }
        int noDelay = 1;
        setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof(noDelay));
        if (readUpTo(connection, expectedLogin().size(), deadline)) {
            for (const std::string& piece : writes) {
                send(connection, piece.data(), piece.size(), MSG_NOSIGNAL);
                pause();
            }
            end(connection, deadline);
        }
        close(connection);
    }

    bool readUpTo(int connection, size_t total, Clock::time_point deadline) {
        char area[256];
        while (bytes.size() < total && waitReadable(connection, deadline)) {
            ssize_t count = recv(connection, area, std::min(sizeof(area), total - bytes.size()), 0);
            if (count <= 0) {
                return false;
            }
            bytes.append(area, static_cast<size_t>(count));
        }
        return bytes.size() == total;
    }

    // A close lets the server read on until the client closes too, so an
    // extra byte after the login would show.
    void end(int connection, Clock::time_point deadline) {
        if (ending == Ending::reset) {
            linger abort = {1, 0};
            setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof(abort));
            return;
        }
        shutdown(connection, SHUT_WR);
        char area[256];
        while (waitReadable(connection, deadline)) {
            ssize_t count = recv(connection, area, sizeof(area), 0);
            if (count <= 0) {
                return;
            }
            bytes.append(area, static_cast<size_t>(count));
        }
    }

    std::vector<std::string> writes;
    Ending ending;
    int listener;
    std::string bytes;
    std::thread worker;
};

struct ProgramRun {
    std::string output;
    int status;
    bool timedOut;
};

// A program started with its standard output on a pipe, in a process group
// of its own, and the time it has.
struct RunningProgram {
    pid_t child;
    int output;
    Clock::time_point deadline;
    bool exited;
    int waitStatus;
    ProgramRun run;
};

bool startProgram(const std::vector<std::string>& command, int timeoutSeconds, RunningProgram* program) {
    *program = {-1, -1, Clock::now() + std::chrono::seconds(timeoutSeconds), false, 0, {"", -1, false}};
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return false;
    }
    pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0);
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        std::vector<char*> arguments;
        for (const std::string& argument : command) {
            arguments.push_back(const_cast<char*>(argument.c_str()));
        }
        arguments.push_back(nullptr);
        execv(arguments[0], arguments.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
    program->child = child;
    program->output = pipeEnds[0];
    return true;
}

// Collects the program's output until `awaited` shows in it (never when it
// is empty) or the program has exited, killing the program and what it
// started once the time is up. Waits for the program itself rather than for
// the end of its output: Wine's server may hold on to the pipe.
void readOutput(RunningProgram* program, const std::string& awaited) {
    char area[4096];
    for (;;) {
        waitReadable(program->output, std::min(program->deadline, Clock::now() + std::chrono::milliseconds(20)));
        ssize_t count;
        while ((count = read(program->output, area, sizeof(area))) > 0) {
            program->run.output.append(area, static_cast<size_t>(count));
        }
        if (program->exited || (!awaited.empty() && program->run.output.find(awaited) != std::string::npos)) {
            return;
        }
        program->exited = waitpid(program->child, &program->waitStatus, WNOHANG) == program->child;
        if (!program->exited && Clock::now() >= program->deadline) {
            kill(-program->child, SIGKILL);
            waitpid(program->child, &program->waitStatus, 0);
            program->exited = true;
            program->run.timedOut = true;
            return;
        }
    }
}

ProgramRun finishProgram(RunningProgram* program) {
    readOutput(program, "");
    close(program->output);
    if (WIFEXITED(program->waitStatus)) {
        program->run.status = WEXITSTATUS(program->waitStatus);
    }
    return program->run;
}

ProgramRun runProgram(const std::vector<std::string>& command, int timeoutSeconds) {
    RunningProgram program;
    if (!startProgram(command, timeoutSeconds, &program)) {
        return program.run;
    }
    return finishProgram(&program);
}

int environmentNumber(const char* name, int fallback) {
    const char* value = getenv(name);
    return value != nullptr && *value != '\0' ? atoi(value) : fallback;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Where two long outputs part, for a failure message that the outputs
// themselves would drown.
std::string describeDifference(const std::string& actual, const std::string& expected) {
    size_t at = static_cast<size_t>(
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end()).first - actual.begin());
    std::ostringstream text;
    text << "printed " << actual.size() << " bytes, expected " << expected.size() << "; from byte " << at
         << " printed \"" << actual.substr(at, differenceContext) << "\" where \""
         << expected.substr(at, differenceContext) << "\" was due";
    return text.str();
}

bool isFile(const std::string& path) {
    struct stat details;
    return stat(path.c_str(), &details) == 0 && S_ISREG(details.st_mode);
}

class ClientTest : public testing::TestWithParam<Platform> {
protected:
    void SetUp() override {
        if (GetParam() != Platform::native && !isFile(windowsClient("client_unresolvable"))) {
            GTEST_SKIP() << "no Windows build of the client in " << windowsBuild();
        }
    }

    static std::string windowsBuild() {
        return GetParam() == Platform::wine64 ? WINDOWS64_BUILD_DIR : WINDOWS_BUILD_DIR;
    }

    static std::string windowsClient(const std::string& name) {
        return windowsBuild() + "/tests/client/" + name + ".exe";
    }

    // The 32-bit builds count from one offset above the native ports, the 64-bit builds from two.
    static int port(Scenario scenario) {
        return TEST_PORT_BASE + static_cast<int>(GetParam()) * WINDOWS_PORT_OFFSET + scenario;
    }

    static ProgramRun runClient(const std::string& name, const std::vector<std::string>& arguments = {}) {
        std::vector<std::string> command = {WINE_RUN, windowsClient(name)};
        int timeout = wineTimeoutSeconds;
        if (GetParam() == Platform::native) {
            command = {std::string(NATIVE_CLIENT_DIR) + "/" + name};
            timeout = nativeTimeoutSeconds;
        }
        command.insert(command.end(), arguments.begin(), arguments.end());
        return runProgram(command, timeout);
    }

    static ProgramRun runClient(Scenario scenario, const std::vector<std::string>& arguments = {}) {
        return runClient("client_test" + std::to_string(scenario), arguments);
    }

    // Plays the writes to the scenario's client and checks what it printed
    // between the status lines, how it ended, and that it sent exactly the
    // login.
    static void expectConversation(Scenario scenario, const std::vector<std::string>& writes, Ending ending,
                                   const std::string& messages) {
        ScriptedServer server(port(scenario), writes, ending);
        ASSERT_TRUE(server.listening()) << "port " << port(scenario);
        ProgramRun run = runClient(scenario);
        std::string last = ending == Ending::close ? closedLine : errorLine;
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.output, forPlatform(header + messages + last, GetParam()));
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(server.received(), expectedLogin());
    }

    // Lets the demo server play the seed's chaotic stream to the scenario's
    // client and checks that the client printed exactly the complete messages
    // among the bytes that reached it, then how the connection ended.
    static void expectChaos(int seed) {
        std::string record = std::string(NATIVE_CLIENT_DIR) + "/chaos-" + platformName(GetParam()) + ".record";
        RunningProgram server;
        ASSERT_TRUE(startProgram({DEMO_SERVER, "--chaos", std::to_string(seed), "--record", record, "127.0.0.1",
                                  std::to_string(port(chaoticServer))},
                                 serverWaitSeconds, &server));
        readOutput(&server, "listening on");
        ProgramRun run = runClient(chaoticServer);
        ProgramRun served = finishProgram(&server);
        ASSERT_EQ(served.status, 0) << served.output;
        std::string beforeEnd = header;
        for (const std::string& message : frameStream(readFile(record))) {
            beforeEnd += printed(message);
        }
        bool reset = served.output.find("then a reset") != std::string::npos;
        std::string expected = forPlatform(beforeEnd + (reset ? errorLine : closedLine), GetParam());
        // Wine's server takes a reset's error off the socket when it sees the
        // reset first, and the program's next recv then reads an orderly close.
        std::string closedUnderWine = forPlatform(beforeEnd + closedLine, GetParam());
        if (reset && GetParam() != Platform::native && run.output == closedUnderWine) {
            expected = closedUnderWine;
        }
        EXPECT_FALSE(run.timedOut);
        EXPECT_TRUE(run.output == expected) << describeDifference(run.output, expected);
        EXPECT_EQ(run.status, 0);
    }
};

TEST_P(ClientTest, ReportsAServerThatClosesAtOnce) {
    expectConversation(closeAtOnce, {}, Ending::close, "");
}

TEST_P(ClientTest, FailsWhenTheConnectionIsRefused) {
    // Bound but not listening: connections are refused, and no other run can
    // listen on the port meanwhile.
    int holder = bindPort(port(refusedConnection), false);
    ASSERT_GE(holder, 0);
    ProgramRun run = runClient(refusedConnection);
    close(holder);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.output, forPlatform("Resolved hostname.\nCould not connect.\n", GetParam()));
    EXPECT_EQ(run.status, exitStatusOfMinusOne);
}

TEST_P(ClientTest, FailsWhenTheHostDoesNotResolve) {
    ProgramRun run = runClient("client_unresolvable");
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.output, forPlatform("Cannot resolve hostname.\n", GetParam()));
    EXPECT_EQ(run.status, exitStatusOfMinusOne);
}

TEST_P(ClientTest, PrintsASplitMessageOnceComplete) {
    std::string message = frame("Split over several chunks");
    std::vector<std::string> writes = {message.substr(0, 2), message.substr(2, 2), message.substr(4, 9),
                                       message.substr(13)};
    expectConversation(splitMessage, writes, Ending::close, printed(message));
}

TEST_P(ClientTest, PrintsEveryMessageOfAChunkBeforeTheClose) {
    std::string first = frame("first");
    std::string second = frame("second of three");
    std::string empty = frame("");
    expectConversation(messagesInOneChunk, {first + second + empty}, Ending::close,
                       printed(first) + printed(second) + printed(empty));
}

TEST_P(ClientTest, CutsAnOverlongMessageAndReadsTheNextOne) {
    std::string body = std::string(keptBody, 'k') + std::string(overlongBody - keptBody, 'x');
    std::string message = frame(body);
    std::string next = frame("next");
    std::vector<std::string> writes = {message.substr(0, 3000), message.substr(3000) + next.substr(0, 3),
                                       next.substr(3)};
    expectConversation(overlongMessage, writes, Ending::close,
                       printed(message.substr(0, 4 + keptBody)) + printed(next));
}

TEST_P(ClientTest, ReportsAResetConnection) {
    std::string message = frame("Before the reset");
    expectConversation(resetConnection, {message}, Ending::reset, printed(message));
}

// Stops at the first failing seed and names it, for tests/client/soak.sh.
TEST_P(ClientTest, PrintsTheCompleteMessagesOfChaoticServers) {
    bool native = GetParam() == Platform::native;
    int first = native ? environmentNumber("MARROWBY_CHAOS_FIRST_SEED", firstChaosSeed) : firstChaosSeed;
    int count = native ? environmentNumber("MARROWBY_CHAOS_SEEDS", nativeChaosSeeds) : wineChaosSeeds;
    for (int seed = first; seed < first + count; seed++) {
        expectChaos(seed);
        if (HasFailure()) {
            ADD_FAILURE() << "first failing seed: " << seed;
            return;
        }
    }
}

// Fails each allocation of a short conversation in turn: the login, the
// buffer, its growth, the deliveries and the texts. Each failure ends the
// client with one line and status -1 after the messages that came before it,
// each printed once; a failure the client can do without changes nothing.
TEST_P(ClientTest, ReportsRunningOutOfMemoryAtEachAllocation) {
    std::vector<std::string> messages = {frame("first"), frame(std::string(300, 'b')), frame("last")};
    std::string stream = messages[0] + messages[1] + messages[2];
    std::vector<std::string> writes = {stream.substr(0, 40), stream.substr(40)};
    std::vector<std::string> beforeFailure = {header};
    for (const std::string& message : messages) {
        beforeFailure.push_back(beforeFailure.back() + printed(message));
    }
    std::string complete = forPlatform(beforeFailure.back() + closedLine, GetParam());
    size_t mostPrinted = 0;
    int failures = 0;
    for (int skipped = 0; skipped < allocationLimit; skipped++) {
        SCOPED_TRACE("allocation " + std::to_string(skipped));
        ScriptedServer server(port(allocationFailure), writes, Ending::close);
        ASSERT_TRUE(server.listening()) << "port " << port(allocationFailure);
        ProgramRun run = runClient(allocationFailure, {std::to_string(skipped)});
        ASSERT_FALSE(run.timedOut);
        std::string received = server.received();
        EXPECT_TRUE(received.empty() || received == expectedLogin());
        if (run.status == unreachedStatus || run.status == 0) {
            EXPECT_EQ(run.output, complete);
            if (run.status == unreachedStatus) {
                EXPECT_GT(failures, 0);
                EXPECT_EQ(mostPrinted, messages.size() - 1);
                return;
            }
            continue;
        }
        EXPECT_EQ(run.status, exitStatusOfMinusOne);
        size_t printedCount = 0;
        while (printedCount < messages.size() &&
               run.output != forPlatform(beforeFailure[printedCount] + outOfMemoryLine, GetParam())) {
            printedCount++;
        }
        EXPECT_LT(printedCount, messages.size()) << run.output;
        mostPrinted = std::max(mostPrinted, printedCount);
        failures++;
    }
    ADD_FAILURE() << "the conversation never got through";
}

INSTANTIATE_TEST_SUITE_P(Platforms, ClientTest, testing::Values(Platform::native, Platform::wine, Platform::wine64),
                         [](const testing::TestParamInfo<Platform>& info) { return platformName(info.param); });

}  // namespace
