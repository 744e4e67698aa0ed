// The pak resource system in one include: chunks and records, creators, `pak_system`,
// and the archive, directory and source-tree stores.
#pragma once

#include "data/pak_chunk.h"
#include "data/pak_source_dir.h"
#include "data/pak_store.h"
#include "data/pak_system.h"
