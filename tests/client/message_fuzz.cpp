// Feeds a stream to the parser in chunks and checks that it delivers exactly
// what the reference framing finds in the whole stream. The first input byte
// chooses the chunk size, the rest is the stream.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "message.h"
#include "reference_framing.h"

static const size_t maxChunk = 256;

static std::vector<std::string> parseStream(const std::string& stream, size_t chunkSize) {
    std::vector<std::string> delivered;
    resetParser();
    Data* buffer = newData(nullptr, 0);
    if (buffer == nullptr) {
        abort();
    }
    for (size_t start = 0; start < stream.size(); start += chunkSize) {
        std::string chunk = stream.substr(start, chunkSize);
        Data* message = parseData(buffer, chunk.data(), static_cast<int32_t>(chunk.size()));
        for (; message != nullptr; message = parseData(buffer, nullptr, 0)) {
            if (message->length < 4 || message->length > maxMessageBody + 4) {
                abort();
            }
            delivered.emplace_back(message->content, static_cast<size_t>(message->length));
            deleteData(message);
        }
    }
    deleteData(buffer);
    return delivered;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    size_t chunkSize = data[0] % maxChunk + 1;
    std::string stream(reinterpret_cast<const char*>(data + 1), size - 1);
    if (parseStream(stream, chunkSize) != frameStream(stream)) {
        abort();
    }
    return 0;
}
