// The console client: logs into the network's central server and prints every
// message that the server sends until the connection ends.
#include "session.h"

int main() {
    return runClient();
}
