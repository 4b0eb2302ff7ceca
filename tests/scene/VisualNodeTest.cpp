// The scene tree: ownership moves between parents, the child-list operations keep their order,
// world positions sum up the chain, and the update and draw walks visit children in list order,
// tolerating appends and removals made during a walk. Also SpriteNode and StringNode drawing.
// Rerun one case: test_scene --gtest_filter='VisualNode*.Name'.
#include "SceneTestDoubles.h"
#include "framework/display/Graphics.h"
#include "game/scene/SpriteNode.h"
#include "game/scene/StringNode.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

static_assert(!std::is_copy_constructible_v<VisualNode>, "nodes own their children: no copies");
static_assert(std::has_virtual_destructor_v<VisualNode>);

namespace
{
// A node that records its updates, draws and destruction in a shared journal, and can run an
// action during its update.
class JournalNode : public VisualNode
{
public:
    JournalNode(std::string name, std::vector<std::string>& journal) : mName(std::move(name)), mJournal(journal) {}
    ~JournalNode() override { mJournal.push_back("delete " + mName); }
    void Update(float dt) override
    {
        mJournal.push_back("update " + mName);
        if (onUpdate)
            onUpdate();
        VisualNode::Update(dt);
    }
    void Draw(Quoll::Graphics* g) override
    {
        mJournal.push_back("draw " + mName);
        VisualNode::Draw(g);
    }

    std::function<void()> onUpdate;

private:
    std::string mName;
    std::vector<std::string>& mJournal;
};

std::vector<const VisualNode*> Children(const VisualNode& node)
{
    return {node.GetChildren().begin(), node.GetChildren().end()};
}
} // namespace

// --- Tree structure --------------------------------------------------------------------------------

TEST(VisualNodeTree, FreshNodeIsWhiteAtOriginAlone)
{
    VisualNode node;
    EXPECT_EQ(node.mColor, Quoll::Color(255, 255, 255, 255));
    EXPECT_EQ(node.GetPosition(), (FloatPoint{0, 0}));
    EXPECT_EQ(node.GetParent(), nullptr);
    EXPECT_TRUE(node.GetChildren().empty());
    EXPECT_EQ(node.GetWorldPosition(), (FloatPoint{0, 0}));
}

TEST(VisualNodeTree, WorldPositionSumsTheParentChain)
{
    VisualNode root;
    auto* parent = new VisualNode;
    auto* child = new VisualNode;
    root.SetPosition({100, 0});
    parent->SetPosition({10, 20});
    child->SetPosition({5, 7});
    root.AddChild(parent);
    parent->AddChild(child);
    EXPECT_EQ(child->GetWorldPosition(), (FloatPoint{115, 27}));
    EXPECT_EQ(parent->GetWorldPosition(), (FloatPoint{110, 20}));
}

TEST(VisualNodeTree, AddingAChildOfAnotherNodeMovesIt)
{
    VisualNode first, second;
    auto* child = new VisualNode;
    first.AddChild(child);
    second.AddChild(child);
    EXPECT_TRUE(first.GetChildren().empty());
    EXPECT_EQ(Children(second), std::vector<const VisualNode*>{child});
    EXPECT_EQ(child->GetParent(), &second);
}

TEST(VisualNodeTree, ReAddingMovesTheChildToTheEnd)
{
    VisualNode parent;
    auto *a = new VisualNode, *b = new VisualNode, *c = new VisualNode;
    parent.AddChild(a);
    parent.AddChild(b);
    parent.AddChild(c);
    parent.AddChild(a);
    EXPECT_EQ(Children(parent), (std::vector<const VisualNode*>{b, c, a}));
    EXPECT_EQ(a->GetParent(), &parent);
}

TEST(VisualNodeTree, InsertChildGoesJustAboveTheFirstChild)
{
    VisualNode empty, one, three;
    auto* x0 = new VisualNode;
    empty.InsertChild(x0);
    EXPECT_EQ(Children(empty), std::vector<const VisualNode*>{x0});

    auto *a = new VisualNode, *x1 = new VisualNode;
    one.AddChild(a);
    one.InsertChild(x1);
    EXPECT_EQ(Children(one), (std::vector<const VisualNode*>{a, x1}));

    auto *a3 = new VisualNode, *b3 = new VisualNode, *c3 = new VisualNode, *x3 = new VisualNode;
    three.AddChild(a3);
    three.AddChild(b3);
    three.AddChild(c3);
    three.InsertChild(x3);
    EXPECT_EQ(Children(three), (std::vector<const VisualNode*>{a3, x3, b3, c3}));
    EXPECT_EQ(x3->GetParent(), &three);
}

TEST(VisualNodeTree, RemoveChildHandsOwnershipBackOrRefuses)
{
    VisualNode parent, other;
    auto *a = new VisualNode, *b = new VisualNode, *c = new VisualNode;
    parent.AddChild(a);
    parent.AddChild(b);
    parent.AddChild(c);
    std::unique_ptr<VisualNode> removed(b);
    EXPECT_TRUE(parent.RemoveChild(b));
    EXPECT_EQ(b->GetParent(), nullptr);
    EXPECT_EQ(Children(parent), (std::vector<const VisualNode*>{a, c}));

    // Not a child: refused, and the node keeps the parent it had.
    auto* stranger = new VisualNode;
    other.AddChild(stranger);
    EXPECT_FALSE(parent.RemoveChild(stranger));
    EXPECT_EQ(stranger->GetParent(), &other);
    EXPECT_FALSE(parent.RemoveChild(b));
}

TEST(VisualNodeTree, DestroyingANodeDeletesItsChildrenLastFirstAndDepthFirst)
{
    std::vector<std::string> journal;
    {
        JournalNode root("root", journal);
        auto* a = new JournalNode("A", journal);
        root.AddChild(a);
        root.AddChild(new JournalNode("B", journal));
        root.AddChild(new JournalNode("C", journal));
        a->AddChild(new JournalNode("A1", journal));
        a->AddChild(new JournalNode("A2", journal));
    }
    EXPECT_EQ(journal, (std::vector<std::string>{"delete root", "delete C", "delete B", "delete A", "delete A2",
                                                 "delete A1"}));
}

TEST(VisualNodeTree, DeleteChildrenEmptiesTheListAndKeepsTheNode)
{
    std::vector<std::string> journal;
    JournalNode root("root", journal);
    root.AddChild(new JournalNode("A", journal));
    root.AddChild(new JournalNode("B", journal));
    root.DeleteChildren();
    EXPECT_TRUE(root.GetChildren().empty());
    EXPECT_EQ(journal, (std::vector<std::string>{"delete B", "delete A"}));
}

// --- Walks -----------------------------------------------------------------------------------------

TEST(VisualNodeWalk, UpdateAndDrawVisitParentsBeforeChildrenInListOrder)
{
    std::vector<std::string> journal;
    JournalNode root("root", journal);
    auto* a = new JournalNode("A", journal);
    root.AddChild(a);
    root.AddChild(new JournalNode("B", journal));
    a->AddChild(new JournalNode("A1", journal));
    root.Update(0.01f);
    root.Draw(nullptr);
    EXPECT_EQ(journal, (std::vector<std::string>{"update root", "update A", "update A1", "update B", "draw root",
                                                 "draw A", "draw A1", "draw B"}));
}

TEST(VisualNodeWalk, ARemovalDuringTheWalkSkipsTheFollowingChild)
{
    std::vector<std::string> journal;
    JournalNode root("root", journal);
    auto* a = new JournalNode("A", journal);
    root.AddChild(a);
    root.AddChild(new JournalNode("B", journal));
    root.AddChild(new JournalNode("C", journal));
    std::unique_ptr<VisualNode> removed;
    a->onUpdate = [&] {
        root.RemoveChild(a);
        removed.reset(a);
    };
    root.Update(0.01f);
    EXPECT_EQ(journal, (std::vector<std::string>{"update root", "update A", "update C"}));
}

TEST(VisualNodeWalk, AChildAppendedDuringTheWalkIsVisitedInTheSameWalk)
{
    std::vector<std::string> journal;
    JournalNode root("root", journal);
    auto* a = new JournalNode("A", journal);
    root.AddChild(a);
    bool added = false;
    a->onUpdate = [&] {
        if (!std::exchange(added, true))
            root.AddChild(new JournalNode("late", journal));
    };
    root.Update(0.01f);
    EXPECT_EQ(journal, (std::vector<std::string>{"update root", "update A", "update late"}));
}

// --- SpriteNode --------------------------------------------------------------------------------------

TEST(SpriteNode, DrawsItsSpriteAtTheWorldPositionInItsColourBelowItsChildren)
{
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    auto image = MakeSourceImage("ball", 32, 16);
    auto glow = MakeSourceImage("glow", 8, 8);

    VisualNode root;
    root.SetPosition({100, 50});
    auto* node = new SpriteNode;
    node->SetPosition({10.7f, 5.2f});
    node->mColor = Quoll::Color(10, 20, 30, 40);
    node->mSprite = std::make_unique<Sprite>();
    node->mSprite->mImage = image.get();
    auto* child = new SpriteNode;
    child->mSprite = std::make_unique<Sprite>();
    child->mSprite->mImage = glow.get();
    root.AddChild(node);
    node->AddChild(child);

    root.Draw(&g);
    // Untransformed sprites draw from the top-left, while the rectangle of a centred one is
    // centred on the point.
    EXPECT_EQ(screen.calls, (std::vector<std::string>{
                                "Blt ball at 110,55 src (0,0,32,16) rgba(10,20,30,40) normal",
                                "Blt glow at 110,55 src (0,0,8,8) rgba(255,255,255,255) normal",
                            }));
    EXPECT_EQ(node->GetScreenRect(), Quoll::Rect(94, 47, 32, 16));
    node->mSprite->mCentred = false;
    EXPECT_EQ(node->GetScreenRect(), Quoll::Rect(110, 55, 32, 16));
}

TEST(SpriteNode, WithoutSpriteOrImageDrawsOnlyItsChildren)
{
    RecordingImage screen;
    Quoll::Graphics g(&screen);
    auto image = MakeSourceImage("dot", 4, 4);
    SpriteNode empty;
    auto* child = new SpriteNode;
    child->mSprite = std::make_unique<Sprite>();
    child->mSprite->mImage = image.get();
    empty.AddChild(child);
    empty.Draw(&g);
    EXPECT_EQ(screen.calls.size(), 1u);
    EXPECT_EQ(empty.GetScreenRect(), Quoll::Rect());

    empty.mSprite = std::make_unique<Sprite>();
    EXPECT_EQ(empty.GetScreenRect(), Quoll::Rect(0, 0, 0, 0));
}

// --- StringNode --------------------------------------------------------------------------------------

namespace
{
struct StringNodeFixture : ::testing::Test
{
    RecordingImage screen;
    Quoll::Graphics g{&screen};
    FakeFont font;
    StringNode node;

    void SetUp() override
    {
        node.mFont = &font;
        node.mText = L"Score";
        node.SetPosition({200, 100});
    }
};
} // namespace

TEST_F(StringNodeFixture, CentredTextIsPlacedByHalfItsWidthAndHalfTheFontHeight)
{
    font.fixedWidth = 101;
    node.mAlignment = TextAlignment::Centred;
    node.Draw(&g);
    EXPECT_EQ(font.calls, std::vector<std::string>{"DrawString 'Score' at 150,107 rgba(255,255,255,255)"});
}

TEST_F(StringNodeFixture, AlignmentsPlaceTheBaseline)
{
    node.mAlignment = TextAlignment::Baseline;
    node.Draw(&g);
    node.mAlignment = TextAlignment::TopLeft;
    node.Draw(&g);
    EXPECT_EQ(font.calls, (std::vector<std::string>{"DrawString 'Score' at 200,100 rgba(255,255,255,255)",
                                                    "DrawString 'Score' at 200,115 rgba(255,255,255,255)"}));
}

TEST_F(StringNodeFixture, ShadowIsDrawnFirstAndEscapesRecolourBoth)
{
    node.mText = L"a^FF0000^b";
    node.mShadowOffsetX = 2;
    node.mShadowOffsetY = 1;
    node.mColor = Quoll::Color(0, 255, 0, 200);
    node.mAlignment = TextAlignment::Baseline;
    node.Draw(&g);
    EXPECT_EQ(font.calls, (std::vector<std::string>{
                              "DrawString 'a' at 202,101 rgba(0,0,0,255)",
                              "DrawString 'b' at 212,101 rgba(255,0,0,255)",
                              "DrawString 'a' at 200,100 rgba(0,255,0,200)",
                              "DrawString 'b' at 210,100 rgba(255,0,0,200)",
                          }));
}

TEST_F(StringNodeFixture, DrawsNothingWhenHiddenEmptyOrWithoutFontNotEvenItsShadow)
{
    node.mShadowOffsetX = 1;
    node.mVisible = false;
    node.Draw(&g);
    node.mVisible = true;
    node.mText.clear();
    node.Draw(&g);
    node.mText = L"x";
    node.mFont = nullptr;
    node.Draw(&g);
    EXPECT_TRUE(font.calls.empty());
    EXPECT_EQ(g.GetFont(), nullptr);
}

TEST_F(StringNodeFixture, RestoresTheImageTintAndNeverDrawsItsChildren)
{
    auto image = MakeSourceImage("dot", 4, 4);
    auto* child = new SpriteNode;
    child->mSprite = std::make_unique<Sprite>();
    child->mSprite->mImage = image.get();
    node.AddChild(child);
    g.SetImageTint(false);
    node.Draw(&g);
    EXPECT_FALSE(g.GetImageTint());
    EXPECT_EQ(font.calls.size(), 1u);
    EXPECT_TRUE(screen.calls.empty());
}
