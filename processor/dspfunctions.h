// Small signal-processing functions built beside the processor.
#pragma once
