// The framing that the parser must reproduce, written the obvious way over a
// whole stream: read each prefix unsigned, keep at most maxMessageBody body
// bytes, skip the rest of the announced body.
#ifndef MARROWBY_TESTS_REFERENCE_FRAMING_H
#define MARROWBY_TESTS_REFERENCE_FRAMING_H

#include <string>
#include <vector>

#include "message.h"

inline std::vector<std::string> frameStream(const std::string& stream) {
    const uint64_t prefixSize = 4;
    std::vector<std::string> messages;
    uint64_t position = 0;
    while (position + prefixSize <= stream.size()) {
        uint64_t announced = intFromChars(stream.data() + position);
        uint64_t kept = announced < maxMessageBody ? announced : maxMessageBody;
        if (position + prefixSize + kept > stream.size()) {
            break;
        }
        messages.push_back(stream.substr(position, prefixSize + kept));
        position += prefixSize + announced;
    }
    return messages;
}

#endif
