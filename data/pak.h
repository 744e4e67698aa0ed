// The pak resource system in one include: chunks and records, creators, `pak_system`,
// and the archive and directory stores.
#pragma once

#include "data/pak_chunk.h"
#include "data/pak_store.h"
#include "data/pak_system.h"
