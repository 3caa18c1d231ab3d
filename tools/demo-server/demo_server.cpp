// A stand-in for the network's central server on this machine: checks the
// client's login and then either plays a short scripted conversation that
// shows the client's framing at work or streams messages for the benchmark.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

static const char usage[] =
    "usage: demo-server [--connections N] [--stream COUNT --size BYTES] ADDRESS PORT\n"
    "  ADDRESS                       a loopback IPv4 address (127.x.y.z)\n"
    "  PORT                          TCP port, 1-65535\n"
    "  --connections N               serve N clients one after the other (default 1)\n"
    "  --stream COUNT --size BYTES   send COUNT messages of BYTES body bytes each, as\n"
    "                                fast as the client takes them, instead of the\n"
    "                                scripted conversation; prints the throughput\n";

static const int usageStatus = 2;
static const int failureStatus = 1;
static const long highestPort = 65535;
static const unsigned char loopbackNetwork = 127;
static const int listenBacklog = 4;
// A client that stops talking ends its connection after this long.
static const int readTimeoutSeconds = 10;

static const int prefixSize = 4;
static const uint32_t loginCode = 1;
static const uint32_t loginTrailer = 156;
// Code, two string lengths and the trailer.
static const uint32_t loginOverhead = 16;
static const uint32_t longestLogin = 1024;

static const int bitsPerByte = 8;
static const uint32_t byteMask = 0xFF;
static const long nanosecondsPerMillisecond = 1000000L;
static const double nanosecondsPerSecond = 1e9;

static const size_t longestBody = 1 << 20;
// Stream mode writes this many bytes of whole messages at a time.
static const size_t streamBlockSize = 1 << 16;
static const double bytesPerMegabyte = 1e6;

// The conversation.
static const char welcome[] = "Welcome to the Marrowby network";
static const char trickled[] = "This message arrives a few bytes at a time";
static const size_t trickleStep = 3;
static const int tricklePauseMilliseconds = 20;
static const char firstOfPair[] = "Two messages in one write";
static const char secondOfPair[] = "and this is the second of them";
static const char longPattern[] = "Over long message ";
static const size_t longBodySize = 5000;
static const char goodbye[] = "Goodbye";
static const char streamPattern[] = "Marrowby ";
// Room for the framed texts of the conversation, two at a time.
static const size_t scriptBufferSize = 256;
static_assert(2 * prefixSize + sizeof(firstOfPair) + sizeof(secondOfPair) <= scriptBufferSize, "pair too long");
static_assert(prefixSize + sizeof(welcome) <= scriptBufferSize, "welcome too long");
static_assert(prefixSize + sizeof(trickled) <= scriptBufferSize, "trickled message too long");

struct Options {
    long connections;
    long streamCount;
    long streamSize;
    sockaddr_in address;
};

static void say(const char* format, const char* detail) {
    printf("demo-server: ");
    printf(format, detail);
    printf("\n");
    fflush(stdout);
}

// A whole number within the limits, or -1.
static long parseNumber(const char* text, long lowest, long highest) {
    char* end = nullptr;
    errno = 0;
    long value = strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || value < lowest || value > highest) {
        return -1;
    }
    return value;
}

static bool parseAddress(const char* text, const char* port, sockaddr_in* address) {
    memset(address, 0, sizeof(*address));
    address->sin_family = AF_INET;
    long number = parseNumber(port, 1, highestPort);
    if (number < 0 || inet_pton(AF_INET, text, &address->sin_addr) != 1) {
        return false;
    }
    address->sin_port = htons(static_cast<uint16_t>(number));
    return reinterpret_cast<const unsigned char*>(&address->sin_addr)[0] == loopbackNetwork;
}

static bool parseOptions(int argc, char** argv, Options* options) {
    options->connections = 1;
    options->streamCount = -1;
    options->streamSize = -1;
    int position = 1;
    for (; position + 1 < argc && argv[position][0] == '-'; position += 2) {
        const char* name = argv[position];
        const char* value = argv[position + 1];
        long number = -1;
        if (strcmp(name, "--connections") == 0) {
            number = options->connections = parseNumber(value, 1, INT32_MAX);
        } else if (strcmp(name, "--stream") == 0) {
            number = options->streamCount = parseNumber(value, 0, INT32_MAX);
        } else if (strcmp(name, "--size") == 0) {
            number = options->streamSize = parseNumber(value, 0, static_cast<long>(longestBody));
        }
        if (number < 0) {
            return false;
        }
    }
    bool streamComplete = (options->streamCount < 0) == (options->streamSize < 0);
    return position + 2 == argc && streamComplete &&
           parseAddress(argv[position], argv[position + 1], &options->address);
}

static void writeInteger(char* destination, uint32_t value) {
    for (int i = 0; i < prefixSize; i++) {
        destination[i] = static_cast<char>((value >> (bitsPerByte * i)) & byteMask);
    }
}

static uint32_t readInteger(const char* source) {
    uint32_t value = 0;
    for (int i = 0; i < prefixSize; i++) {
        value |= static_cast<uint32_t>(static_cast<unsigned char>(source[i])) << (bitsPerByte * i);
    }
    return value;
}

static bool sendAll(int connection, const char* data, size_t size) {
    while (size > 0) {
        ssize_t sent = send(connection, data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

static bool receiveAll(int connection, char* data, size_t size) {
    while (size > 0) {
        ssize_t received = recv(connection, data, size, 0);
        if (received < 0 && errno == EINTR) {
            continue;
        }
        if (received <= 0) {
            return false;
        }
        data += received;
        size -= static_cast<size_t>(received);
    }
    return true;
}

// Frames the body into `frame`, which holds prefixSize + bodySize bytes.
static void frameMessage(char* frame, const char* body, size_t bodySize) {
    writeInteger(frame, static_cast<uint32_t>(bodySize));
    memcpy(frame + prefixSize, body, bodySize);
}

// Reads one wire string at `*offset` of the login's content, or fails when
// it does not fit.
static bool takeString(const char* content, uint32_t size, uint32_t* offset, const char** text,
                       uint32_t* length) {
    if (size - *offset < prefixSize) {
        return false;
    }
    *length = readInteger(content + *offset);
    *offset += prefixSize;
    if (*length > size - *offset) {
        return false;
    }
    *text = content + *offset;
    *offset += *length;
    return true;
}

static bool sameText(const char* text, uint32_t length, const char* expected) {
    return length == strlen(expected) && memcmp(text, expected, length) == 0;
}

// The reason the login content is refused, or null when it is a good login.
static const char* checkLoginContent(const char* content, uint32_t size) {
    if (readInteger(content) != loginCode) {
        return "the message code is not 1 (login)";
    }
    uint32_t offset = prefixSize;
    const char* user = nullptr;
    const char* secret = nullptr;
    uint32_t userLength = 0;
    uint32_t secretLength = 0;
    if (!takeString(content, size, &offset, &user, &userLength) ||
        !takeString(content, size, &offset, &secret, &secretLength) || size - offset != prefixSize) {
        return "the user name and password do not fill the frame";
    }
    if (readInteger(content + offset) != loginTrailer) {
        return "the last field is not 156";
    }
    if (!sameText(user, userLength, MARROWBY_USER_NAME)) {
        return "unknown user name";
    }
    if (!sameText(secret, secretLength, MARROWBY_PASSWORD)) {
        return "wrong password";
    }
    return nullptr;
}

// The reason the client's first message is refused, or null when it is a good login.
static const char* checkLogin(int connection) {
    char prefix[prefixSize];
    if (!receiveAll(connection, prefix, prefixSize)) {
        return "the connection ended before a login arrived";
    }
    uint32_t size = readInteger(prefix);
    if (size < loginOverhead || size > longestLogin) {
        return "the length prefix does not fit a login";
    }
    char content[longestLogin];
    if (!receiveAll(connection, content, size)) {
        return "the connection ended inside the login";
    }
    return checkLoginContent(content, size);
}

static bool sendMessage(int connection, const char* body) {
    char frame[scriptBufferSize];
    size_t size = strlen(body);
    if (size > scriptBufferSize - prefixSize) {
        return false;
    }
    frameMessage(frame, body, size);
    return sendAll(connection, frame, prefixSize + size);
}

static bool sendTrickled(int connection, const char* body) {
    char frame[scriptBufferSize];
    size_t size = prefixSize + strlen(body);
    frameMessage(frame, body, size - prefixSize);
    for (size_t start = 0; start < size; start += trickleStep) {
        size_t piece = size - start < trickleStep ? size - start : trickleStep;
        if (!sendAll(connection, frame + start, piece)) {
            return false;
        }
        timespec pause = {0, tricklePauseMilliseconds * nanosecondsPerMillisecond};
        nanosleep(&pause, nullptr);
    }
    return true;
}

static bool sendPair(int connection, const char* first, const char* second) {
    char frames[scriptBufferSize];
    size_t firstSize = strlen(first);
    size_t secondSize = strlen(second);
    frameMessage(frames, first, firstSize);
    frameMessage(frames + prefixSize + firstSize, second, secondSize);
    return sendAll(connection, frames, 2 * prefixSize + firstSize + secondSize);
}

static void fillPattern(char* body, size_t size, const char* pattern) {
    size_t patternSize = strlen(pattern);
    for (size_t i = 0; i < size; i++) {
        body[i] = pattern[i % patternSize];
    }
}

static bool sendOverlong(int connection) {
    char frame[prefixSize + longBodySize];
    writeInteger(frame, longBodySize);
    fillPattern(frame + prefixSize, longBodySize, longPattern);
    return sendAll(connection, frame, sizeof(frame));
}

static bool playConversation(int connection) {
    return sendMessage(connection, welcome) && sendTrickled(connection, trickled) &&
           sendPair(connection, firstOfPair, secondOfPair) && sendMessage(connection, "") &&
           sendOverlong(connection) && sendMessage(connection, goodbye);
}

static double secondsSince(const timespec& start) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec - start.tv_sec) + static_cast<double>(now.tv_nsec - start.tv_nsec) / nanosecondsPerSecond;
}

// Sends the messages in blocks of whole messages.
static bool streamMessages(int connection, long count, long bodySize) {
    size_t messageSize = prefixSize + static_cast<size_t>(bodySize);
    size_t perBlock = streamBlockSize / messageSize > 0 ? streamBlockSize / messageSize : 1;
    char* block = static_cast<char*>(malloc(perBlock * messageSize));
    if (block == nullptr) {
        say("%s", "out of memory");
        return false;
    }
    for (size_t i = 0; i < perBlock; i++) {
        writeInteger(block + i * messageSize, static_cast<uint32_t>(bodySize));
        fillPattern(block + i * messageSize + prefixSize, static_cast<size_t>(bodySize), streamPattern);
    }
    bool sent = true;
    for (long left = count; left > 0 && sent; left -= static_cast<long>(perBlock)) {
        size_t messages = static_cast<size_t>(left) < perBlock ? static_cast<size_t>(left) : perBlock;
        sent = sendAll(connection, block, messages * messageSize);
    }
    free(block);
    return sent;
}

// Ends the connection in order: no more data from here, then wait for the
// client to close its side, so the last bytes are not lost to a reset.
static void closeGracefully(int connection) {
    shutdown(connection, SHUT_WR);
    char discard[256];
    while (recv(connection, discard, sizeof(discard), 0) > 0) {
    }
    close(connection);
}

static bool serveClient(int connection, const Options& options) {
    timeval timeout = {readTimeoutSeconds, 0};
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
    const char* refusal = checkLogin(connection);
    if (refusal != nullptr) {
        say("refused the login: %s", refusal);
        close(connection);
        return false;
    }
    say("login of %s accepted", MARROWBY_USER_NAME);
    if (options.streamCount < 0) {
        bool played = playConversation(connection);
        closeGracefully(connection);
        say("%s", played ? "conversation sent, connection closed" : "the client left during the conversation");
        return played;
    }
    timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    bool streamed = streamMessages(connection, options.streamCount, options.streamSize);
    closeGracefully(connection);
    double seconds = secondsSince(start);
    double bytes = static_cast<double>(options.streamCount) * static_cast<double>(prefixSize + options.streamSize);
    char report[128];
    snprintf(report, sizeof(report), "streamed %.0f bytes in %.3f s (%.2f MB/s)", bytes, seconds,
             bytes / bytesPerMegabyte / seconds);
    say("%s", streamed ? report : "the client left during the stream");
    return streamed;
}

static int listenOn(const sockaddr_in& address) {
    int listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener < 0) {
        return -1;
    }
    int reuse = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof(reuse));
    if (bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(listener, listenBacklog) != 0) {
        close(listener);
        return -1;
    }
    return listener;
}

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, &options)) {
        fputs(usage, stderr);
        return usageStatus;
    }
    signal(SIGPIPE, SIG_IGN);
    int listener = listenOn(options.address);
    char place[INET_ADDRSTRLEN + 8];
    snprintf(place, sizeof(place), "%s:%s", argv[argc - 2], argv[argc - 1]);
    if (listener < 0) {
        say("cannot listen on %s", place);
        return failureStatus;
    }
    say("listening on %s", place);
    int status = 0;
    for (long served = 0; served < options.connections; served++) {
        int connection = accept(listener, nullptr, nullptr);
        if (connection < 0) {
            say("%s", "accept failed");
            status = failureStatus;
            break;
        }
        if (!serveClient(connection, options)) {
            status = failureStatus;
        }
    }
    close(listener);
    return status;
}
