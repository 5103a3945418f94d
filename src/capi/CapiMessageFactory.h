#pragma once

#include "capi/CapiNotice.h"
#include "capi/TCapiMessage.h"

#include <memory>
#include <span>

// Turns a received block into the message class of its WordCommand. A command without a class,
// a message shorter than its fixed fields, or one whose struct runs past its end comes back as a
// plain TCapiMessage (header only, same WordCommand). Nothing is read beyond header.length or
// beyond the block.
std::unique_ptr<TCapiMessage> CreateCapiMessage(std::span<const quint8> received);

// Frees the message and clears the reference. For a WordCommand this program does not know it
// first reports "Unbekannte Message. " and the code in decimal.
void FreeCapiMessage(std::unique_ptr<TCapiMessage>& message, const CapiNoticeSink& notice = {});

// The 30 commands this program builds, parses or names.
bool isKnownWordCommand(quint16 wordCommand);
