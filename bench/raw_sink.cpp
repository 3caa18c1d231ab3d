// The client throughput benchmark's baseline: logs in like the client, then
// reads the stream in the client's 256-byte steps and discards it, so the
// client's own cost shows as the difference.
//
//   raw_sink ADDRESS PORT     ADDRESS is a dotted IPv4 address
#include "message.h"
#include "sockets.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

static const int receiveAreaSize = 256;
static const long highestPort = 65535;
static const int failureStatus = 1;
static const int usageStatus = 2;

// The port, or 0 when the text is not one.
static unsigned short parsePort(const char* text) {
    char* end = nullptr;
    long port = strtol(text, &end, 10);
    if (end == text || *end != '\0' || port < 1 || port > highestPort) {
        return 0;
    }
    return static_cast<unsigned short>(port);
}

static SocketHandle connectTo(const char* dottedAddress, unsigned short port) {
    sockaddr_in address;
    memset(&address, 0, sizeof(address));
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = inet_addr(dottedAddress);
    SocketHandle connection = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (connection == invalidSocket) {
        return invalidSocket;
    }
    if (connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == socketError) {
        closeSocket(connection);
        return invalidSocket;
    }
    return connection;
}

static bool sendLogin(SocketHandle connection) {
    Data* login = buildLogin(MARROWBY_USER_NAME, MARROWBY_PASSWORD);
    if (login == nullptr) {
        return false;
    }
    bool sent = send(connection, login->content, login->length, 0) == login->length;
    deleteData(login);
    return sent;
}

// The number of bytes read before the stream ended.
static long long drain(SocketHandle connection) {
    char area[receiveAreaSize];
    long long total = 0;
    int received = static_cast<int>(recv(connection, area, receiveAreaSize, 0));
    while (received > 0) {
        total += received;
        received = static_cast<int>(recv(connection, area, receiveAreaSize, 0));
    }
    return total;
}

int main(int argc, char** argv) {
    unsigned short port = argc == 3 ? parsePort(argv[2]) : 0;
    if (port == 0) {
        fprintf(stderr, "usage: raw_sink ADDRESS PORT\n");
        return usageStatus;
    }
    startSockets();
    SocketHandle connection = connectTo(argv[1], port);
    int status = failureStatus;
    if (connection == invalidSocket) {
        fprintf(stderr, "raw_sink: cannot connect to %s:%u\n", argv[1], port);
    } else {
        if (sendLogin(connection)) {
            printf("raw_sink: %lld bytes\n", drain(connection));
            status = 0;
        } else {
            fprintf(stderr, "raw_sink: cannot send the login\n");
        }
        closeSocket(connection);
    }
    stopSockets();
    fflush(stdout);
    return status;
}
