#include "ModelWalker.h"

#include "ModelOpcodes.h"
#include "ModelText.h"
#include "ModelWalkState.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace tintara {
namespace {

using walk::Affine;
using walk::Key;
using walk::KeyHash;
using walk::Mix;
using walk::StackNode;
using walk::State;
using walk::StateHash;

constexpr std::size_t VertexSize = 32, MaterialSize = 68, TextureSize = 80;
constexpr std::size_t ListHeaderSize = 8, TextureNameAt = 16, TextureNameSize = 64;
constexpr unsigned NoTexture = 0xFFFF;

std::string Printed(const char* format, long long value) {
    char text[96];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

struct RecordUse {
    bool selected = false;
    std::uint64_t triangles = 0;
    std::vector<std::pair<std::int64_t, std::string>> textures; // first selecting offset, name
    std::vector<int> details;
};

class Walker {
public:
    Walker(std::span<const unsigned char> file, const MaterialTable& table, ModelWalk& walk,
           std::size_t codeBytes)
        : m_file(file), m_table(table), m_walk(walk), m_uses(table.count()),
          m_budget(std::min(MaxInstructionBudget,
                            MinInstructionBudget + InstructionsPerCodeByte * codeBytes)),
          m_keptLimit(MinKeptTriangles + codeBytes) {
        m_stacks.push_back({});
        m_transforms.push_back({});
        m_transformMatrices.push_back({});
    }

    void Walk(const CodeBlock& block) {
        m_block = block;
        State start;
        start.at = static_cast<std::int64_t>(block.begin);
        start.vertexList = block.vertexList;
        start.materialList = block.materialList;
        start.textureList = block.textureList;
        Push(start);
        while (!m_work.empty()) {
            const State s = m_work.back();
            m_work.pop_back();
            Run(s);
        }
    }

    void Finish() {
        MakeTriangles();
        m_walk.uses.assign(m_uses.size(), {});
        for (std::size_t i = 0; i < m_uses.size(); ++i) {
            RecordUse& use = m_uses[i];
            MaterialUse& out = m_walk.uses[i];
            std::sort(use.textures.begin(), use.textures.end());
            for (auto& texture : use.textures)
                out.textures.push_back(std::move(texture.second));
            std::sort(use.details.begin(), use.details.end());
            out.detailLevels = std::move(use.details);
            out.triangles = use.triangles;
            out.selected = use.selected;
        }
    }

private:
    unsigned U16(std::size_t at) const { return m_file[at] | (unsigned(m_file[at + 1]) << 8); }
    std::int32_t I32(std::size_t at) const {
        return static_cast<std::int32_t>(U16(at) | (std::uint32_t(U16(at + 2)) << 16));
    }
    float Float(std::size_t at) const {
        const std::uint32_t bits = U16(at) | (std::uint32_t(U16(at + 2)) << 16);
        const float v = std::bit_cast<float>(bits);
        return std::isfinite(v) ? v : 0.0f;
    }
    [[noreturn]] void Fail(std::string text, std::int64_t at) const {
        throw WalkFault{std::move(text), static_cast<std::size_t>(at)};
    }

    // A state not walked yet goes on the work list. It counts against the budget like
    // an instruction, so the visited set stays within it (the check is in Run).
    void Push(const State& s) {
        if (m_visited.insert(s).second) {
            ++m_steps;
            m_work.push_back(s);
        }
    }

    std::int64_t Target(std::int64_t at, std::int64_t offset, const char* fault) const {
        const std::int64_t target = at + offset;
        if (target < std::int64_t(m_block.begin) || target >= std::int64_t(m_block.end))
            Fail(fault, at);
        return target;
    }

    void Run(State s) {
        for (;;) {
            const std::int64_t at = s.at;
            if (at == std::int64_t(m_block.end))
                return; // the code ends
            if (++m_steps > m_budget)
                Fail(Printed("more than %lld instructions", static_cast<long long>(m_budget)), at);
            const std::span<const unsigned char> code =
                m_file.subspan(std::size_t(at), m_block.end - std::size_t(at));
            if (code.size() < 2)
                Fail("an instruction cut off by the end of the code", at);
            const unsigned opcode = U16(std::size_t(at));
            const OpcodeInfo& info = Opcode(opcode);
            if (info.flow == OpFlow::Unknown)
                Fail(Printed("unknown instruction 0x%04llX", opcode), at);
            const std::optional<std::size_t> length = InstructionLength(info, code);
            if (!length || *length > code.size())
                Fail("an instruction cut off by the end of the code", at);
            const std::int64_t next = at + std::int64_t(*length);
            const std::size_t here = std::size_t(at);
            switch (info.flow) {
            case OpFlow::Unknown:
            case OpFlow::Plain:
                break;
            case OpFlow::End:
                return;
            case OpFlow::Return:
                if (s.stack == 0)
                    return;
                s.at = m_stacks[s.stack].value;
                s.stack = m_stacks[s.stack].parent;
                Push(s);
                return;
            case OpFlow::Jump16:
            case OpFlow::Jump32:
                s.at = Target(
                    at, info.flow == OpFlow::Jump16 ? std::int16_t(U16(here + 2)) : I32(here + 2),
                    "a jump outside the code");
                Push(s);
                return;
            case OpFlow::Branch16:
            case OpFlow::Branch32:
            case OpFlow::DetailBranch: {
                State taken = s;
                taken.at = Target(
                    at, info.flow == OpFlow::Branch32 ? I32(here + 2) : std::int16_t(U16(here + 2)),
                    "a jump outside the code");
                if (info.flow == OpFlow::DetailBranch)
                    ++taken.detail;
                Push(taken);
                s.at = next;
                Push(s);
                return;
            }
            case OpFlow::Case: {
                const unsigned cases = U16(here + 2);
                State taken = s;
                for (unsigned i = 0; i <= cases; ++i) {
                    const std::size_t field = i == 0 ? here + 6 : here + 6 + 2 * i;
                    taken.at = Target(at, std::int16_t(U16(field)), "a jump outside the code");
                    Push(taken);
                }
                s.at = next;
                Push(s);
                return;
            }
            case OpFlow::Call16:
            case OpFlow::Call32: {
                const std::int64_t callee = Target(
                    at, info.flow == OpFlow::Call16 ? std::int16_t(U16(here + 2)) : I32(here + 2),
                    "a call outside the code");
                if (m_stacks[s.stack].depth >= MaxCallDepth)
                    Fail("calls nested deeper than 64", at);
                s.stack = Intern(m_stacks, m_stackIds, s.stack, next);
                s.at = callee;
                Push(s);
                return;
            }
            case OpFlow::VertexList:
                s.vertexList = at;
                break;
            case OpFlow::MaterialList:
                s.materialList = at;
                s.material = -1;
                break;
            case OpFlow::TextureList:
                s.textureList = at;
                s.texture = -1;
                break;
            case OpFlow::SetMaterial:
            case OpFlow::SetMaterialAnimate:
                Select(s, U16(here + 2), U16(here + 4));
                break;
            case OpFlow::DrawTriangles:
            case OpFlow::DrawOther:
                Draw(s, info.flow == OpFlow::DrawTriangles);
                break;
            case OpFlow::PushTransform:
            case OpFlow::PushIdentity: {
                const std::uint32_t parent = s.transform;
                s.transform = Intern(m_transforms, m_transformIds, parent, at);
                if (s.transform == m_transformMatrices.size()) {
                    Affine local;
                    if (info.flow == OpFlow::PushTransform) {
                        for (int i = 0; i < 3; ++i)
                            local.t[i] = Float(here + 2 + 4 * std::size_t(i));
                        for (int i = 0; i < 9; ++i)
                            local.m[i] = Float(here + 14 + 4 * std::size_t(i));
                    }
                    m_transformMatrices.push_back(m_transformMatrices[parent].After(local));
                }
                break;
            }
            case OpFlow::PopTransform:
                s.transform = m_transforms[s.transform].parent;
                break;
            }
            s.at = next;
        }
    }

    static std::uint32_t Intern(std::vector<StackNode>& nodes,
                                std::unordered_map<Key, std::uint32_t, KeyHash>& ids,
                                std::uint32_t parent, std::int64_t value) {
        const auto [it, added] =
            ids.try_emplace(Key{parent, value}, static_cast<std::uint32_t>(nodes.size()));
        if (added)
            nodes.push_back({parent, value, nodes[parent].depth + 1});
        return it->second;
    }

    std::size_t ListCount(std::int64_t list) const {
        return list < 0 ? 0 : U16(std::size_t(list) + 2);
    }

    // The table record of the path's material, -1 when the search did not find it.
    int Record(const State& s) const {
        if (s.materialList < 0 || s.material < 0)
            return -1;
        const std::int64_t entry =
            s.materialList + std::int64_t(ListHeaderSize + MaterialSize * std::size_t(s.material));
        const auto& records = m_table.records();
        const auto it = std::lower_bound(
            records.begin(), records.end(), entry,
            [](const MaterialRecord& r, std::int64_t offset) { return r.FileOffset < offset; });
        return it != records.end() && it->FileOffset == entry ? int(it - records.begin()) : -1;
    }

    // The index in textureNames of the current texture, -1 for none.
    int TextureName(const State& s) {
        if (s.texture < 0)
            return -1;
        const std::int64_t entry =
            s.textureList + std::int64_t(ListHeaderSize + TextureSize * std::size_t(s.texture));
        const auto known = m_textureEntries.find(entry);
        if (known != m_textureEntries.end())
            return known->second;
        const std::string name =
            TextureNameText(m_file.subspan(std::size_t(entry) + TextureNameAt, TextureNameSize));
        auto [it, added] = m_nameIds.try_emplace(name, int(m_walk.textureNames.size()));
        if (added)
            m_walk.textureNames.push_back(name);
        m_textureEntries.emplace(entry, it->second);
        return it->second;
    }

    void Select(State& s, unsigned material, unsigned texture) {
        const std::int64_t at = s.at;
        if (material >= ListCount(s.materialList))
            Fail(Printed("material %lld past the end of its list", material), at);
        if (texture != NoTexture && texture >= ListCount(s.textureList))
            Fail(Printed("texture %lld past the end of its list", texture), at);
        s.material = std::int32_t(material);
        s.texture = texture == NoTexture ? -1 : std::int32_t(texture);
        const int record = Record(s);
        if (record < 0)
            return;
        RecordUse& use = m_uses[std::size_t(record)];
        use.selected = true;
        const int name = TextureName(s);
        if (name < 0)
            return;
        const auto [it, added] =
            m_recordTextures.try_emplace(Key{record, name}, use.textures.size());
        if (added)
            use.textures.emplace_back(at, m_walk.textureNames[std::size_t(name)]);
        else
            use.textures[it->second].first = std::min(use.textures[it->second].first, at);
    }

    void Draw(const State& s, bool triangles) {
        const std::size_t here = std::size_t(s.at);
        if (s.vertexList < 0)
            Fail("a drawing with no vertex list", s.at);
        const unsigned start = U16(here + 2), indices = U16(here + 6);
        // The highest vertex a drawing uses, found once per drawing.
        auto [highest, added] = m_highestVertex.try_emplace(s.at, 0);
        if (added && indices > 0) {
            unsigned top = 0;
            for (unsigned i = 0; i < indices; ++i)
                top = std::max(top, U16(here + 8 + 2 * i));
            highest->second = std::int64_t(start) + top + 1;
        }
        if (highest->second > std::int64_t(ListCount(s.vertexList)))
            Fail(Printed("vertex %lld past the end of its list",
                         static_cast<long long>(highest->second - 1)),
                 s.at);
        if (!triangles)
            return;
        const unsigned drawn = indices / 3;
        const int record = Record(s);
        if (record >= 0) {
            RecordUse& use = m_uses[std::size_t(record)];
            if (m_countedDraws.insert(Key{s.at, record}).second)
                use.triangles += drawn;
            if (m_recordDetails.insert(Key{record, s.detail}).second)
                use.details.push_back(s.detail);
        }
        const int texture = TextureName(s);
        const DrawKey key{s.at, record, texture, s.detail, s.transform};
        if (m_keptTriangles + drawn > m_keptLimit || !m_keptDraws.insert(key).second)
            return;
        m_keptTriangles += drawn;
        m_kept.push_back({key, s.vertexList});
    }

    // The triangles of every drawing kept, made once the walk knows how many.
    void MakeTriangles() {
        m_walk.triangles.reserve(m_keptTriangles);
        for (const KeptDraw& kept : m_kept) {
            const DrawKey& key = kept.key;
            const std::size_t here = std::size_t(key.at);
            const unsigned start = U16(here + 2), drawn = U16(here + 6) / 3;
            const Affine& transform = m_transformMatrices[key.transform];
            const bool identity = key.transform == 0;
            const std::size_t vertices = std::size_t(kept.vertexList) + ListHeaderSize;
            for (unsigned t = 0; t < drawn; ++t) {
                ModelTriangle& triangle = m_walk.triangles.emplace_back();
                triangle.material = key.record;
                triangle.texture = key.texture;
                triangle.detail = key.detail;
                for (unsigned corner = 0; corner < 3; ++corner) {
                    const std::size_t vertex =
                        start + std::size_t(U16(here + 8 + 2 * (3 * t + corner)));
                    float v[6];
                    for (std::size_t i = 0; i < 6; ++i)
                        v[i] = Float(vertices + VertexSize * vertex + 4 * i);
                    if (identity) {
                        triangle.position[corner] = {v[0], v[1], v[2]};
                        triangle.normal[corner] = {v[3], v[4], v[5]};
                    } else {
                        triangle.position[corner] = transform.Point(v);
                        triangle.normal[corner] = transform.Normal(v + 3);
                    }
                }
            }
        }
    }

    struct DrawKey {
        std::int64_t at;
        int record, texture, detail;
        std::uint32_t transform;
        friend bool operator==(const DrawKey&, const DrawKey&) = default;
    };
    struct DrawKeyHash {
        std::size_t operator()(const DrawKey& k) const {
            std::size_t h = Mix(std::hash<std::int64_t>{}(k.at), std::uint32_t(k.record));
            h = Mix(h, (std::uint64_t(std::uint32_t(k.texture)) << 32) | std::uint32_t(k.detail));
            return Mix(h, k.transform);
        }
    };

    std::span<const unsigned char> m_file;
    const MaterialTable& m_table;
    ModelWalk& m_walk;
    std::vector<RecordUse> m_uses;
    const std::uint64_t m_budget;
    const std::size_t m_keptLimit;
    std::uint64_t m_steps = 0;
    CodeBlock m_block;
    std::vector<State> m_work;
    std::unordered_set<State, StateHash> m_visited;
    std::vector<StackNode> m_stacks, m_transforms;
    std::unordered_map<Key, std::uint32_t, KeyHash> m_stackIds, m_transformIds;
    std::vector<Affine> m_transformMatrices;
    std::unordered_map<std::int64_t, int> m_textureEntries;
    std::unordered_map<std::string, int> m_nameIds;
    std::unordered_set<Key, KeyHash> m_countedDraws, m_recordDetails;
    std::unordered_map<Key, std::size_t, KeyHash> m_recordTextures; // (record, name): index
    std::unordered_map<std::int64_t, std::int64_t> m_highestVertex; // past a drawing's last
    std::unordered_set<DrawKey, DrawKeyHash> m_keptDraws;
    struct KeptDraw {
        DrawKey key;
        std::int64_t vertexList;
    };
    std::vector<KeptDraw> m_kept;
    std::size_t m_keptTriangles = 0;
};

} // namespace

void WalkBlocks(std::span<const unsigned char> file, const ModelLayout& layout,
                const MaterialTable& table, ModelWalk& walk) {
    std::size_t codeBytes = 0;
    for (const CodeBlock& block : layout.blocks)
        codeBytes += block.end - block.begin;
    Walker walker(file, table, walk, codeBytes);
    for (const CodeBlock& block : layout.blocks)
        walker.Walk(block);
    walker.Finish();
}

} // namespace tintara
