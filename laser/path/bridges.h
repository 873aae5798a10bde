// Bridges: a strip of material of the settings' BridgeWidth left between two drawn contours where the user draws a
// fence across them. The drawn geometry is broken where the strip crosses it and the strip's two edges are drawn
// between the broken ends, so that the contours made again afterwards join into one outline.
#pragma once

// The core of CreateBridge: fence segments until the user ends; each segment that crosses an even number of drawn
// entities (path lines left out) breaks them and joins them pairwise. Answers 0.
int BreakContoursForBridge();
