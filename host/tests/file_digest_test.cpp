#include "file_digest.h"

#include <gtest/gtest.h>

#include <string>

#include "input_error.h"
#include "test_files.h"

namespace vesk::host {
namespace {

// FIPS 180-4's examples and messages at the padding's edges (55 bytes fit
// one block with the length, 56 and 64 need a second), digests from sha256sum.
TEST(FileDigest, KnownMessagesAndPaddingEdges) {
    const struct {
        std::string message, digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {std::string(1000, 'a'), "41edece42d63e8d9bf515a9ba6932e1c20cbc9f5a5d134645adb5db1b9737ea3"},
    };
    for (const auto &c : cases) EXPECT_EQ(sha256Hex(c.message), c.digest) << c.message.size() << " bytes";
}

TEST(FileDigest, ReadsTheFileAsBytesAndRefusesAMissingOne) {
    const std::string bytes("a\r\n\0b", 5);
    const std::string path = testing::writeScratchFile("digest.bin", bytes);
    EXPECT_EQ(fileSha256(path), sha256Hex(bytes));
    EXPECT_THROW(fileSha256(path + ".missing"), InputError);
}

} // namespace
} // namespace vesk::host
