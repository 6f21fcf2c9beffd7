#pragma once

#include "ExchangeConfig.h"

#include <array>
#include <cstdint>
#include <initializer_list>

// The blocks of the configuration that travel to and from the exchange, each as a whole,
// and sets of them: what a transfer moves, a file holds or a comparison looks at. The
// exchange block (model and modules) never travels and is no member.

namespace ornis {

enum class Block : uint8_t { Settings, Services, ShortDials, PE };
inline constexpr std::array<Block, 4> AllBlocks {
    Block::Settings, Block::Services, Block::ShortDials, Block::PE};

class BlockSet
{
public:
    constexpr BlockSet() = default;
    constexpr BlockSet(std::initializer_list<Block> blocks)
    {
        for (const Block block : blocks)
            insert(block);
    }
    [[nodiscard]] static constexpr BlockSet all()
    {
        return {Block::Settings, Block::Services, Block::ShortDials, Block::PE};
    }

    constexpr void insert(Block block) { bits_ |= bit(block); }
    constexpr void remove(Block block) { bits_ &= uint8_t(~bit(block)); }
    [[nodiscard]] constexpr bool contains(Block block) const { return bits_ & bit(block); }
    [[nodiscard]] constexpr bool empty() const { return bits_ == 0; }
    // The blocks of both sets / of this set without those of `other`.
    [[nodiscard]] constexpr BlockSet operator&(BlockSet other) const
    {
        return BlockSet(uint8_t(bits_ & other.bits_));
    }
    [[nodiscard]] constexpr BlockSet operator-(BlockSet other) const
    {
        return BlockSet(uint8_t(bits_ & ~other.bits_));
    }
    constexpr bool operator==(const BlockSet &) const = default;

private:
    constexpr explicit BlockSet(uint8_t bits)
        : bits_(bits)
    {
    }
    [[nodiscard]] static constexpr uint8_t bit(Block block) { return uint8_t(1u << int(block)); }

    uint8_t bits_ = 0;
};

// The blocks an exchange of `model` has: PE for MIRA only.
[[nodiscard]] constexpr BlockSet blocksOfModel(int32_t model)
{
    return model == ModelMira ? BlockSet::all()
                              : BlockSet {Block::Settings, Block::Services, Block::ShortDials};
}

// What a settings file holds: everything but the services (and the exchange block).
inline constexpr BlockSet SettingsFileBlocks {Block::Settings, Block::ShortDials, Block::PE};

// Copies the values of `blocks` from `from` into `to`, comments included; the exchange
// block stays as `to` has it.
void copyBlocks(const ExchangeConfig &from, ExchangeConfig &to, BlockSet blocks);

} // namespace ornis
