// A stand-in for the network's central server on this machine: checks the
// client's login and then plays a short scripted conversation that shows the
// client's framing at work, streams messages for the benchmark, or sends a
// random stream that a seed decides, to try the client against a hostile server.
#include <arpa/inet.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
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
    "usage: demo-server [--connections N] [--stream COUNT --size BYTES | --chaos SEED [--record FILE]]\n"
    "                   ADDRESS PORT\n"
    "  ADDRESS                       a loopback IPv4 address (127.x.y.z)\n"
    "  PORT                          TCP port, 1-65535\n"
    "  --connections N               serve N clients one after the other (default 1)\n"
    "  --stream COUNT --size BYTES   send COUNT messages of BYTES body bytes each, as\n"
    "                                fast as the client takes them, instead of the\n"
    "                                scripted conversation; prints the throughput\n"
    "  --chaos SEED                  instead, a random stream of messages that the seed\n"
    "                                decides (write sizes, pauses, bodies, prefixes of\n"
    "                                2^31 and more), ended by a close or a reset at any\n"
    "                                point; prints how many bytes reached the client\n"
    "  --record FILE                 with --chaos, writes those bytes to FILE\n";

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

// Chaos mode. The client keeps this many body bytes of a message, so bodies
// around it are where its framing is most likely to slip.
static const uint32_t clientKeptBody = 4096;
static const uint32_t chaosLongestBody = 10000;
static const uint64_t chaosMostMessages = 24;
// One message in this many announces 2^31 bytes or more and ends the stream.
static const uint64_t hugePrefixOdds = 16;
static const uint32_t hugePrefixFloor = 0x80000000u;
// Write sizes are 1 + a number below 2^k for k below this: mostly small, up to 8 KiB.
static const uint64_t writeSizeBits = 14;
// One write in this many is followed by a pause of 1 to chaosLongestPause ms.
static const uint64_t pauseOdds = 4;
static const uint64_t chaosLongestPause = 3;
// A reset waits at most this long for the client to acknowledge what was sent.
static const int drainWaitMilliseconds = 5000;
// A client started under Wine in a new prefix takes a while to connect.
static const int chaosAcceptWaitSeconds = 200;
static const size_t chaosStreamRoom = (chaosMostMessages + 1) * (prefixSize + chaosLongestBody);

struct Options {
    long connections;
    long streamCount;
    long streamSize;
    long chaosSeed;
    const char* recordPath;
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
    options->chaosSeed = -1;
    options->recordPath = nullptr;
    int position = 1;
    for (; position + 1 < argc && argv[position][0] == '-'; position += 2) {
        const char* name = argv[position];
        const char* value = argv[position + 1];
        if (strcmp(name, "--record") == 0) {
            options->recordPath = value;
            continue;
        }
        long number = -1;
        if (strcmp(name, "--connections") == 0) {
            number = options->connections = parseNumber(value, 1, INT32_MAX);
        } else if (strcmp(name, "--stream") == 0) {
            number = options->streamCount = parseNumber(value, 0, INT32_MAX);
        } else if (strcmp(name, "--size") == 0) {
            number = options->streamSize = parseNumber(value, 0, static_cast<long>(longestBody));
        } else if (strcmp(name, "--chaos") == 0) {
            number = options->chaosSeed = parseNumber(value, 0, INT32_MAX);
        }
        if (number < 0) {
            return false;
        }
    }
    bool streamComplete = (options->streamCount < 0) == (options->streamSize < 0);
    bool chaosAlone = options->chaosSeed < 0 ? options->recordPath == nullptr : options->streamCount < 0;
    return position + 2 == argc && streamComplete && chaosAlone &&
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

static void pauseMilliseconds(long milliseconds) {
    timespec pause = {0, milliseconds * nanosecondsPerMillisecond};
    nanosleep(&pause, nullptr);
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
        pauseMilliseconds(tricklePauseMilliseconds);
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

// splitmix64: a generator of our own, so that a seed plans the same stream
// on every machine and build.
static uint64_t nextRandom(uint64_t* state) {
    uint64_t value = (*state += 0x9E3779B97F4A7C15ull);
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

// From 0 to bound - 1; the slight bias of the remainder does not matter here.
static uint64_t randomBelow(uint64_t* state, uint64_t bound) {
    return nextRandom(state) % bound;
}

// Leans towards tiny bodies (many messages to a chunk) and the edge of what
// the client keeps.
static uint32_t pickBodySize(uint64_t* state) {
    switch (randomBelow(state, 4)) {
    case 0:
        return static_cast<uint32_t>(randomBelow(state, 16));
    case 1:
        return clientKeptBody - 1 + static_cast<uint32_t>(randomBelow(state, 3));
    default:
        return static_cast<uint32_t>(randomBelow(state, chaosLongestBody + 1));
    }
}

// Fills `stream` (chaosStreamRoom bytes) with the messages that the seed plans
// and returns the point where the connection ends, anywhere up to their end.
// A message that announces 2^31 bytes or more carries only part of its body,
// so it comes last.
static size_t planChaos(uint64_t* state, char* stream) {
    size_t size = 0;
    uint64_t messages = randomBelow(state, chaosMostMessages + 1);
    for (uint64_t i = 0; i < messages; i++) {
        bool huge = randomBelow(state, hugePrefixOdds) == 0;
        uint32_t body = pickBodySize(state);
        uint32_t announced = huge ? hugePrefixFloor + static_cast<uint32_t>(randomBelow(state, hugePrefixFloor)) : body;
        writeInteger(stream + size, announced);
        size += prefixSize;
        for (uint32_t j = 0; j < body; j++) {
            stream[size++] = static_cast<char>(nextRandom(state));
        }
        if (huge) {
            break;
        }
    }
    return randomBelow(state, 2) == 0 ? size : static_cast<size_t>(randomBelow(state, size + 1));
}

// Sends the bytes in writes of random sizes with random pauses; the count sent.
static size_t sendChaotically(int connection, uint64_t* state, const char* stream, size_t size) {
    size_t sent = 0;
    while (sent < size) {
        size_t piece = 1 + static_cast<size_t>(randomBelow(state, uint64_t(1) << randomBelow(state, writeSizeBits)));
        piece = piece < size - sent ? piece : size - sent;
        if (!sendAll(connection, stream + sent, piece)) {
            break;
        }
        sent += piece;
        if (randomBelow(state, pauseOdds) == 0) {
            pauseMilliseconds(static_cast<long>(1 + randomBelow(state, chaosLongestPause)));
        }
    }
    return sent;
}

// A reset drops whatever the send queue still holds, so it first waits (a
// bounded time) until the client has acknowledged every byte. Returns the
// bytes still unacknowledged, which never reached the client.
static size_t resetAfterDrain(int connection) {
    int queued = 0;
    for (int waited = 0; waited < drainWaitMilliseconds; waited++) {
        if (ioctl(connection, SIOCOUTQ, &queued) != 0 || queued <= 0) {
            break;
        }
        pauseMilliseconds(1);
    }
    linger abort = {1, 0};
    setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof(abort));
    close(connection);
    return queued > 0 ? static_cast<size_t>(queued) : 0;
}

static bool writeRecord(const char* path, const char* bytes, size_t size) {
    FILE* file = fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = fwrite(bytes, 1, size, file) == size;
    return fclose(file) == 0 && written;
}

// Plays the seed's stream, ends the connection the way the seed says and
// records the bytes that reached the client. False when the client left
// early, bytes stayed unacknowledged or the record could not be written.
static bool playChaos(int connection, const Options& options) {
    char* stream = static_cast<char*>(malloc(chaosStreamRoom));
    if (stream == nullptr) {
        say("%s", "out of memory");
        close(connection);
        return false;
    }
    uint64_t state = static_cast<uint64_t>(options.chaosSeed);
    size_t planned = planChaos(&state, stream);
    bool reset = randomBelow(&state, 2) == 0;
    int noDelay = 1;
    setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof(noDelay));
    size_t sent = sendChaotically(connection, &state, stream, planned);
    size_t lost = 0;
    if (reset) {
        lost = resetAfterDrain(connection);
    } else {
        closeGracefully(connection);
    }
    size_t delivered = sent - lost;
    bool recorded = options.recordPath == nullptr || writeRecord(options.recordPath, stream, delivered);
    free(stream);
    char report[160];
    snprintf(report, sizeof(report), "chaos seed %ld: %zu of %zu bytes reached the client, then a %s%s",
             options.chaosSeed, delivered, planned, reset ? "reset" : "close",
             recorded ? "" : " (the record could not be written)");
    say("%s", report);
    return delivered == planned && recorded;
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
    if (options.chaosSeed >= 0) {
        return playChaos(connection, options);
    }
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
    if (options.chaosSeed >= 0) {
        // Bounded even when no client comes: accept gives up after the receive timeout.
        timeval wait = {chaosAcceptWaitSeconds, 0};
        setsockopt(listener, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof(wait));
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
