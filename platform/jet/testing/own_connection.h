#pragma once
// For tests that play two programs on one book: while an OwnConnection lives,
// a book opened gets a connection of its own, as another program's would,
// instead of sharing the one this program has open on the same file.
namespace jet::testing {

class OwnConnection {
public:
    OwnConnection();
    ~OwnConnection();
    OwnConnection(const OwnConnection&) = delete;
    OwnConnection& operator=(const OwnConnection&) = delete;
};

}  // namespace jet::testing
