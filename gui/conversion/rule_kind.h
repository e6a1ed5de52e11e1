#pragma once

// Which rule file a run uses: text rules ("-tesome") or image rules ("-pisome").
enum class RuleKind { Text, Image };
