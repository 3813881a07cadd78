// The shared interface of tagged variants and the error propagation macros.
#include "vorn/support/tagged.hpp"

#include <gtest/gtest.h>

#include <expected>
#include <string>

#include "vorn/support/try.hpp"

namespace vorn::support {
namespace {

struct ShapeCases {
  struct Point {
    bool operator==(const Point&) const = default;
  };
  struct Circle {
    int radius;
    bool operator==(const Circle&) const = default;
  };
};
struct Shape : ShapeCases, Tagged<ShapeCases::Point, ShapeCases::Circle> {
  using Tagged::Tagged;
};

struct OuterCases {
  struct Inner {
    Shape shape;
    bool operator==(const Inner&) const = default;
  };
  struct Other {
    bool operator==(const Other&) const = default;
  };
};
struct Outer : OuterCases, Tagged<OuterCases::Inner, OuterCases::Other> {
  using Tagged::Tagged;
  Outer(Shape shape) : Tagged(Inner{std::move(shape)}) {}  // wraps implicitly
};

TEST(Tagged, ConstructsFromCasesAndReadsThemBack) {
  const Shape circle = Shape::Circle{3};
  EXPECT_TRUE(circle.is<Shape::Circle>());
  EXPECT_FALSE(circle.is<Shape::Point>());
  ASSERT_NE(circle.get_if<Shape::Circle>(), nullptr);
  EXPECT_EQ(circle.get_if<Shape::Circle>()->radius, 3);
  EXPECT_EQ(circle.get_if<Shape::Point>(), nullptr);
  EXPECT_EQ(circle.index(), 1U);
}

TEST(Tagged, ComparesCaseAndPayload) {
  EXPECT_EQ(Shape(Shape::Circle{3}), Shape(Shape::Circle{3}));
  EXPECT_NE(Shape(Shape::Circle{3}), Shape(Shape::Circle{4}));
  EXPECT_NE(Shape(Shape::Circle{0}), Shape(Shape::Point{}));
}

TEST(Tagged, VisitsTheHeldCase) {
  const auto area = [](const Shape& shape) {
    return shape.visit(overloaded{[](const Shape::Point&) { return 0; },
                                  [](const Shape::Circle& c) { return 3 * c.radius * c.radius; }});
  };
  EXPECT_EQ(area(Shape::Point{}), 0);
  EXPECT_EQ(area(Shape::Circle{2}), 12);
}

std::expected<int, Shape> radius_of(const Shape& shape) {
  if (const auto* circle = shape.get_if<Shape::Circle>()) return circle->radius;
  return std::unexpected(shape);
}

std::expected<int, Outer> doubled_radius(const Shape& shape) {
  VORN_TRY(const int radius, radius_of(shape));
  return 2 * radius;
}

std::expected<void, Shape> require_circle(const Shape& shape) {
  if (!shape.is<Shape::Circle>()) return std::unexpected(shape);
  return {};
}

std::expected<int, Shape> checked_one(const Shape& shape) {
  VORN_TRY_VOID(require_circle(shape));
  return 1;
}

TEST(Try, BindsTheValueOrWrapsTheErrorIntoTheCallersType) {
  EXPECT_EQ(doubled_radius(Shape::Circle{5}), 10);
  const auto failed = doubled_radius(Shape::Point{});
  ASSERT_FALSE(failed.has_value());
  EXPECT_EQ(failed.error(), Outer(Outer::Inner{Shape::Point{}}));
  EXPECT_EQ(checked_one(Shape::Circle{1}), 1);
  EXPECT_EQ(checked_one(Shape::Point{}).error(), Shape(Shape::Point{}));
}

}  // namespace
}  // namespace vorn::support
