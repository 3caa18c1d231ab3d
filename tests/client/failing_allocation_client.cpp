// The client with one of its allocations made to fail: its only argument is
// how many allocations succeed first. The exit status is the client's, or
// unreachedStatus when the client made no more allocations than that.
#include <cstdlib>

#include "allocation.h"
#include "session.h"

static const int usageStatus = 2;
static const int unreachedStatus = 3;

int main(int argc, char** argv) {
    if (argc != 2) {
        return usageStatus;
    }
    scheduleAllocationFailure(atoi(argv[1]));
    int status = runClient();
    bool failed = scheduleAllocationFailure(-1) < 0;
    return failed ? status : unreachedStatus;
}
