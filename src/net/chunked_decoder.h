#pragma once
// The chunked transfer coding of an HTTP body.
#include "net/buffered_reader.h"
#include "net/byte_stream.h"

namespace net {

// Reads a chunked body up to and including its trailer and hands the chunk data to the
// sink in blocks of at most kBodyBlockSize, each as soon as it has arrived. Chunk
// extensions and trailer fields are read and dropped. Throws errors::InvalidChunkSize,
// ChunkTooBig (more than kMaxChunkSize), ChunkLineEndMissing (data not followed by
// CR LF), LineTooLong, HeaderTooLarge (trailer) or ResponseCutShort.
void ReadChunkedBody(BufferedReader& reader, BodySink& sink);

}  // namespace net
