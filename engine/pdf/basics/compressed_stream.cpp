#include "pdf/basics/compressed_stream.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

namespace relettra::pdf {

std::shared_ptr<Buffer> compressContent(const std::string& data) {
    // The fastest level, with a window and hash table no larger than the data needs: setting up
    // the full-size tables costs more than compressing a page's content.
    if (data.size() > std::numeric_limits<uInt>::max() / 2) {
        throw std::runtime_error("Content too large to compress.");
    }
    int bits = 9;
    while (bits < 15 && (std::size_t{1} << bits) < data.size()) ++bits;
    const int memoryLevel = std::clamp(bits - 7, 1, 8);
    z_stream stream{};
    if (deflateInit2(&stream, 1, Z_DEFLATED, bits, memoryLevel, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("Cannot start compressing content.");
    }
    std::vector<unsigned char> out(deflateBound(&stream, static_cast<uLong>(data.size())));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    const std::size_t written = stream.total_out;
    deflateEnd(&stream);
    if (result != Z_STREAM_END) {
        throw std::runtime_error("Cannot compress content.");
    }
    auto buffer = std::make_shared<Buffer>(written);
    std::memcpy(buffer->getBuffer(), out.data(), written);
    return buffer;
}

void replaceWithCompressed(QPDFObjectHandle stream, const std::string& data) {
    stream.replaceStreamData(compressContent(data), QPDFObjectHandle::newName("/FlateDecode"),
                             QPDFObjectHandle::newNull());
}

QPDFObjectHandle newCompressedStream(QPDF& pdf, const std::string& data) {
    QPDFObjectHandle stream = pdf.newStream();
    replaceWithCompressed(stream, data);
    return stream;
}

}  // namespace relettra::pdf
