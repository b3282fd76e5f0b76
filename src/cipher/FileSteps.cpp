#include "cipher/FileSteps.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vaultwing::tea {
namespace {

constexpr auto kEncrypt = CipherOperation::EncryptFile;
using Reason = CipherFailure::Reason;

void CheckLength(std::int64_t length) {
    if (length == 0) throw CipherFailure(Reason::SourceEmpty, kEncrypt);
    if (length > kMaxPlainLength) throw CipherFailure(Reason::TooLarge, kEncrypt);
}

} // namespace

void FailSystem(CipherOperation operation, const std::error_code& ec) {
    throw CipherFailure(Reason::FileSystem, operation, ec);
}

void FailSystem(CipherOperation operation, std::errc code) {
    FailSystem(operation, std::make_error_code(code));
}

bool OutOfDescriptors(const CipherFailure& failure) {
    return failure.WhatFailed() == Reason::FileSystem && platform::OutOfFileDescriptors(failure.SystemError());
}

void RefuseExistingDestination(const std::string& destination, CipherOperation operation) {
    const auto attrs = platform::FileAttributes(destination);
    if (!attrs) return;
    FailSystem(operation,
               (*attrs & platform::kAttrDirectory) != 0 ? std::errc::is_a_directory : std::errc::file_exists);
}

platform::File OpenInput(const std::string& path, CipherOperation operation) {
    return AsFileStep(operation, [&] { return platform::File::OpenRead(path); });
}

TempFileBeside CreateOutput(const std::string& destination, const std::string& source, CipherOperation operation) {
    return AsFileStep(operation, [&] { return TempFileBeside::Create(destination, source); });
}

void ReadExactly(platform::File& file, std::uint8_t* data, std::size_t size, CipherOperation operation) {
    if (AsFileStep(operation, [&] { return file.ReadFull(data, size); }) != size)
        FailSystem(operation, std::errc::io_error);
}

void ExpectEnd(platform::File& file, CipherOperation operation) {
    std::uint8_t probe = 0;
    if (AsFileStep(operation, [&] { return file.Read(&probe, 1); }) != 0) FailSystem(operation, std::errc::io_error);
}

std::int64_t FramedPlaintext::CheckedSize(const std::string& source) {
    const std::int64_t size = platform::FileSize(source);
    if (size < 0) throw CipherFailure(Reason::SourceMissing, kEncrypt);
    CheckLength(size);
    return size;
}

FramedPlaintext::FramedPlaintext(const std::string& source, const std::function<RandomPair()>& drawRandom)
    : file_(OpenInput(source, kEncrypt)) {
    const std::int64_t length = AsFileStep(kEncrypt, [&] { return file_.Size(); });
    CheckLength(std::max<std::int64_t>(length, 0)); // a size below zero is none at all
    framed_ = FramedSize(static_cast<std::uint64_t>(length));
    dataEnd_ = kHeaderSize + static_cast<std::uint64_t>(length);
    WriteHeader(header_.data(), drawRandom(), static_cast<std::int32_t>(length));
}

void FramedPlaintext::Next(std::uint8_t* data, std::size_t size) {
    std::size_t at = 0;
    if (pos_ < kHeaderSize) {
        at = std::min(size, static_cast<std::size_t>(kHeaderSize - pos_));
        std::memcpy(data, header_.data() + pos_, at);
    }
    const std::uint64_t dataFrom = pos_ + at;
    if (dataFrom < dataEnd_ && at < size) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(size - at, dataEnd_ - dataFrom));
        ReadExactly(file_, data + at, n, kEncrypt);
        at += n;
        if (dataFrom + n == dataEnd_) ExpectEnd(file_, kEncrypt);
    }
    std::memset(data + at, 0, size - at);
    pos_ += size;
}

} // namespace vaultwing::tea
