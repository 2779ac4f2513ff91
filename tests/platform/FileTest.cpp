// Platform::File and Platform::OverlappedOp on real files in the test folder: system error
// codes, synchronous and overlapped round trips, end of file. Overlapped transfers run in each
// mode (the kernel's, and the synchronous fallback) and start no thread in either.
#include <qxxml/platform/Platform.h>

#include "common/OverlappedModes.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>

using namespace QxXmlLib10;
using namespace QxXmlLib10::Platform;
using namespace qxxml_test;

namespace {

std::string Pattern(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
}

// The system code of a failed open, for reading and for writing, overlapped or not.
std::vector<SystemError> OpenFailures(const std::wstring& path) {
    std::vector<SystemError> codes;
    for (bool overlapped : {false, true}) {
        SystemError read = 0, write = 0;
        EXPECT_FALSE(File::OpenForRead(path.c_str(), overlapped, read).IsOpen());
        EXPECT_FALSE(File::CreateAlways(path.c_str(), overlapped, write).IsOpen());
        codes.insert(codes.end(), {read, write});
    }
    return codes;
}

}  // namespace

TEST(FileTest, FailedOpensGiveTheSystemCode) {
    const SystemError folderNotFound = kSysFolderNotFound, isAFolder = kSysIsAFolder;
    EXPECT_EQ(OpenFailures(Widen(TempDir() + "/no-such-dir/file.xml")), std::vector<SystemError>(4, folderNotFound));
    EXPECT_EQ(OpenFailures(Widen(TempDir())), std::vector<SystemError>(4, isAFolder));
    if (sizeof(wchar_t) == 2) return;  // with 16-bit wide characters every unit is a valid file name unit
    SystemError error = 0;
    EXPECT_FALSE(File::CreateAlways((Widen(TempDir() + "/bad") + static_cast<wchar_t>(0xD800)).c_str(), false, error).IsOpen());
    EXPECT_EQ(error, static_cast<SystemError>(EILSEQ));
}

TEST(FileTest, SynchronousRoundTripWithANonAsciiName) {
    // The file name reaches the system as UTF-8: the narrow path below must find it.
    const std::string narrow = TempPath("r\xC3\xA9sum\xC3\xA9-\xF0\x9F\x98\x80.bin");
    const std::wstring wide = Widen(TempPath("r")) + L"\u00e9sum\u00e9-\U0001F600.bin";
    const std::string data = Pattern(300000, 1);
    SystemError error = 0;
    {
        File first = File::CreateAlways(wide.c_str(), false, error);
        ASSERT_TRUE(first.IsOpen()) << error;
        ASSERT_TRUE(first.Write(data.data(), 100, error));
        File out(std::move(first));  // a moved file keeps its handle
        EXPECT_FALSE(first.IsOpen());  // NOLINT(bugprone-use-after-move)
        File moved;
        moved = std::move(out);
        ASSERT_TRUE(moved.Write(data.data() + 100, static_cast<uint32_t>(data.size() - 100), error));
        moved.Close();
        EXPECT_FALSE(moved.IsOpen());
    }
    EXPECT_EQ(ReadFile(narrow), data);

    File in = File::OpenForRead(wide.c_str(), false, error);
    ASSERT_TRUE(in.IsOpen()) << error;
    uint64_t size = 0;
    ASSERT_TRUE(in.GetSize(size, error));
    EXPECT_EQ(size, data.size());
    std::string back(data.size() + 10, '\0');
    uint32_t read = 0;
    ASSERT_TRUE(in.Read(&back[0], static_cast<uint32_t>(back.size()), read, error));
    back.resize(read);
    EXPECT_EQ(back, data);
    ASSERT_TRUE(in.Read(&back[0], 10, read, error));
    EXPECT_EQ(read, 0u) << "end of file reads nothing, successfully";
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::u8path(narrow), ignored);
}

class OverlappedTest : public OverlappedModeTest {};
INSTANTIATE_OVERLAPPED_MODES(OverlappedTest);

// Written in chunks with a short last one, read back in chunks until the short read, then
// read at and beyond the end, where a read is an empty success.
TEST_P(OverlappedTest, ChunkedRoundTripStartsNoThread) {
    const std::vector<std::string> threads = ThreadsBesidesIoWorkers();
    const std::string path = TempPath("overlapped.bin");
    const uint32_t chunk = 65536;
    const std::string data = Pattern(8 * chunk + 1234, 2);
    SystemError error = 0;
    OverlappedOp op;
    ASSERT_TRUE(op.Create(error));
    {
        File out = File::CreateAlways(Widen(path).c_str(), /*overlapped=*/true, error);
        ASSERT_TRUE(out.IsOpen()) << error;
        for (uint64_t offset = 0; offset < data.size(); offset += chunk) {
            const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(chunk, data.size() - offset));
            ASSERT_TRUE(op.StartWrite(out, data.data() + offset, n, offset, error)) << error;
            EXPECT_TRUE(op.InFlight());
            EXPECT_EQ(ThreadsBesidesIoWorkers(), threads) << "while writing";
            uint32_t done = 0;
            ASSERT_TRUE(op.Wait(done, error)) << error;
            EXPECT_EQ(done, n);
            EXPECT_FALSE(op.InFlight());
        }
    }
    EXPECT_EQ(ReadFile(path), data);
    File in = File::OpenForRead(Widen(path).c_str(), true, error);
    ASSERT_TRUE(in.IsOpen());
    std::string back, buffer(chunk, '\0');
    int reads = 0;
    for (uint64_t offset = 0, got = chunk; got == chunk && reads < 100; offset += chunk, ++reads) {
        uint32_t done = 12345;
        EXPECT_TRUE(op.StartRead(in, &buffer[0], chunk, offset, error) && op.Wait(done, error)) << error;
        EXPECT_EQ(ThreadsBesidesIoWorkers(), threads) << "while reading";
        back.append(buffer, 0, got = done);
    }
    EXPECT_EQ(back, data);
    EXPECT_EQ(reads, 9) << "eight full chunks, then the short one";
    char tail[16];
    for (const uint64_t offset : {data.size(), size_t(1) << 24, data.size() - 2}) {  // at the end, far beyond, before
        uint32_t got = 99;
        ASSERT_TRUE(op.StartRead(in, tail, sizeof tail, offset, error));
        EXPECT_TRUE(op.Wait(got, error));
        EXPECT_EQ(std::string(tail, got), data.substr(std::min<uint64_t>(offset, data.size()))) << offset;
    }
    EXPECT_EQ(ThreadsBesidesIoWorkers(), threads) << "afterwards";
    std::remove(path.c_str());
}

TEST_P(OverlappedTest, OneTransferAtATimeAndOnlyOnWritableHandles) {
    OverlappedOp op;
    SystemError error = 0;
    uint32_t got = 7;
    EXPECT_TRUE(op.Wait(got, error));  // without a transfer
    EXPECT_EQ(got, 0u);

    const std::string path = TempPath("busy.bin");
    File out = File::CreateAlways(Widen(path).c_str(), true, error);
    ASSERT_TRUE(out.IsOpen());
    const std::string data = Pattern(1 << 20, 4);
    ASSERT_TRUE(op.StartWrite(out, data.data(), static_cast<uint32_t>(data.size()), 0, error));
    error = 0;
    EXPECT_FALSE(op.StartWrite(out, data.data(), 1, 0, error)) << "a second transfer while one is in flight";
    EXPECT_EQ(error, kSysBusy);
    EXPECT_TRUE(op.Wait(got, error));
    EXPECT_EQ(got, data.size());
    out.Close();

    File in = File::OpenForRead(Widen(path).c_str(), true, error);
    const bool ok = op.StartWrite(in, "xyz", 3, 0, error) && op.Wait(got, error);
    EXPECT_FALSE(ok);
    EXPECT_EQ(error, kSysNotOpenForWriting);
    EXPECT_EQ(ReadFile(path), data);
    std::remove(path.c_str());
}

TEST_P(OverlappedTest, DestructorWaitsForTheTransferInFlight) {
    const std::string path = TempPath("in-flight.bin");
    const size_t size = 8u << 20;
    SystemError error = 0;
    File out = File::CreateAlways(Widen(path).c_str(), true, error);
    ASSERT_TRUE(out.IsOpen());
    {
        std::unique_ptr<char[]> buffer(new char[size]);
        std::memset(buffer.get(), 'q', size);
        {
            OverlappedOp op;
            ASSERT_TRUE(op.Create(error));
            ASSERT_TRUE(op.StartWrite(out, buffer.get(), static_cast<uint32_t>(size), 0, error));
        }  // destroyed while the write may still run: it must finish first
        std::memset(buffer.get(), 'X', size);  // a write still running would pick these up
    }
    out.Close();
    EXPECT_EQ(ReadFile(path), std::string(size, 'q'));
    std::remove(path.c_str());
}
