// The compute graph: identifiers, shapes, shape inference and the graph builder.
#pragma once

#include "vorn/codegen/graph/compute_graph.hpp"
#include "vorn/codegen/graph/graph_error.hpp"
#include "vorn/codegen/graph/identifiers.hpp"
#include "vorn/codegen/graph/operation.hpp"
#include "vorn/codegen/graph/region_builder.hpp"
#include "vorn/codegen/graph/shape_inference.hpp"
#include "vorn/codegen/graph/tensor_shape.hpp"
