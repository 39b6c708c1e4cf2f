// Reading registry scripts.
#include "plugin/RegistryScript.h"

#include <algorithm>
#include <cctype>

namespace kv::plugin {

namespace {

struct Token {
    enum Kind { Word, Quoted, Open, Close, Equals } kind;
    std::string text;
    std::size_t line;
};

bool SameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

class Parser {
public:
    Parser(const std::map<std::string, std::string>& variables, std::string& error)
        : m_variables(variables), m_error(error) {}

    std::optional<RegistryScript> Parse(std::string_view text) {
        if (!Tokenize(text)) return std::nullopt;
        RegistryScript script;
        while (m_next < m_tokens.size()) {
            ScriptRoot root{};
            if (!ParseRootName(root.root) || !Expect(Token::Open, "'{'") || !ParseKeys(nullptr, root.keys)) {
                return std::nullopt;
            }
            script.push_back(std::move(root));
        }
        return script;
    }

private:
    bool Fail(const std::string& what) {
        // At the end of the text, the line of its last token.
        const std::size_t line = m_tokens.empty() ? 1 : m_tokens[std::min(m_next, m_tokens.size() - 1)].line;
        m_error = "line " + std::to_string(line) + ": " + what;
        return false;
    }

    bool Tokenize(std::string_view text) {
        std::size_t line = 1;
        std::size_t i = 0;
        while (i < text.size()) {
            const char c = text[i];
            if (c == '\n') ++line;
            if (std::isspace(static_cast<unsigned char>(c))) {
                ++i;
            } else if (c == '\'') {
                std::string quoted;
                for (++i;; ++i) {
                    if (i == text.size()) {
                        m_error = "line " + std::to_string(line) + ": a quoted text does not end";
                        return false;
                    }
                    if (text[i] == '\'' && i + 1 < text.size() && text[i + 1] == '\'') {
                        quoted += '\'';
                        ++i;
                    } else if (text[i] == '\'') {
                        break;
                    } else {
                        quoted += text[i];
                    }
                }
                ++i;
                if (!Add(Token::Quoted, quoted, line)) return false;
            } else {
                const std::size_t start = i;
                while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
                const std::string word(text.substr(start, i - start));
                const Token::Kind kind = word == "{"   ? Token::Open
                                         : word == "}" ? Token::Close
                                         : word == "=" ? Token::Equals
                                                       : Token::Word;
                if (!Add(kind, word, line)) return false;
            }
        }
        return true;
    }

    bool Add(Token::Kind kind, const std::string& text, std::size_t line) {
        Token token{kind, text, line};
        if ((kind == Token::Word || kind == Token::Quoted) && !Substitute(token.text)) {
            m_error = "line " + std::to_string(line) + ": " + m_error;
            return false;
        }
        m_tokens.push_back(std::move(token));
        return true;
    }

    bool Substitute(std::string& text) {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '%') {
                out += text[i];
                continue;
            }
            const std::size_t end = text.find('%', i + 1);
            if (end == std::string::npos) {
                m_error = "a '%' without its closing '%'";
                return false;
            }
            const std::string name = text.substr(i + 1, end - i - 1);
            if (name.empty()) {
                out += '%';
            } else {
                const auto found = m_variables.find(name);
                if (found == m_variables.end()) {
                    m_error = "unknown variable %" + name + "%";
                    return false;
                }
                out += found->second;
            }
            i = end;
        }
        text = std::move(out);
        return true;
    }

    const Token* Peek() const { return m_next < m_tokens.size() ? &m_tokens[m_next] : nullptr; }

    bool Expect(Token::Kind kind, const char* what) {
        const Token* token = Peek();
        if (token == nullptr || token->kind != kind) return Fail(std::string("expected ") + what);
        ++m_next;
        return true;
    }

    bool ParseRootName(platform::RegistryRoot& root) {
        const Token* token = Peek();
        if (token == nullptr || token->kind != Token::Word) return Fail("expected a root key");
        const std::string& name = token->text;
        if (SameWord(name, "HKCR") || SameWord(name, "HKEY_CLASSES_ROOT")) {
            root = platform::RegistryRoot::ClassesRoot;
        } else if (SameWord(name, "HKCU") || SameWord(name, "HKEY_CURRENT_USER")) {
            root = platform::RegistryRoot::CurrentUser;
        } else if (SameWord(name, "HKLM") || SameWord(name, "HKEY_LOCAL_MACHINE")) {
            root = platform::RegistryRoot::LocalMachine;
        } else {
            return Fail("unknown root key '" + name + "'");
        }
        ++m_next;
        return true;
    }

    bool ParseName(std::string& name) {
        const Token* token = Peek();
        if (token == nullptr || (token->kind != Token::Word && token->kind != Token::Quoted) || token->text.empty()) {
            return Fail("expected a name");
        }
        name = token->text;
        ++m_next;
        return true;
    }

    // "= s 'text'"
    bool ParseString(std::string& text) {
        if (!Expect(Token::Equals, "'='")) return false;
        const Token* type = Peek();
        if (type == nullptr || type->kind != Token::Word || !SameWord(type->text, "s")) {
            return Fail("only string values (s) are understood");
        }
        ++m_next;
        const Token* value = Peek();
        if (value == nullptr || value->kind != Token::Quoted) return Fail("expected a quoted value");
        text = value->text;
        ++m_next;
        return true;
    }

    // Entries up to the closing brace; `parent` is null at a root's top.
    bool ParseKeys(ScriptKey* parent, std::vector<ScriptKey>& keys) {
        for (;;) {
            const Token* token = Peek();
            if (token == nullptr) return Fail("expected '}'");
            if (token->kind == Token::Close) {
                ++m_next;
                return true;
            }
            if (token->kind == Token::Word && SameWord(token->text, "val")) {
                if (parent == nullptr) return Fail("'val' outside a key");
                ++m_next;
                ScriptValue value;
                if (!ParseName(value.name) || !ParseString(value.text)) return false;
                parent->values.push_back(std::move(value));
                continue;
            }
            ScriptKey key;
            if (!ParseKey(key)) return false;
            keys.push_back(std::move(key));
        }
    }

    bool ParseKey(ScriptKey& key) {
        const Token* token = Peek();
        if (token->kind == Token::Word && SameWord(token->text, "NoRemove")) {
            key.noRemove = true;
            ++m_next;
        } else if (token->kind == Token::Word && SameWord(token->text, "ForceRemove")) {
            key.forceRemove = true;
            ++m_next;
        }
        if (!ParseName(key.name)) return false;
        if (key.name.find('\\') != std::string::npos) return Fail("a key name holds a backslash");
        token = Peek();
        if (token != nullptr && token->kind == Token::Equals) {
            std::string text;
            if (!ParseString(text)) return false;
            key.defaultValue = std::move(text);
            token = Peek();
        }
        if (token != nullptr && token->kind == Token::Open) {
            ++m_next;
            return ParseKeys(&key, key.subkeys);
        }
        return true;
    }

    const std::map<std::string, std::string>& m_variables;
    std::string& m_error;
    std::vector<Token> m_tokens;
    std::size_t m_next = 0;
};

}  // namespace

std::optional<RegistryScript> ParseRegistryScript(std::string_view text,
                                                  const std::map<std::string, std::string>& variables,
                                                  std::string& error) {
    return Parser(variables, error).Parse(text);
}

}  // namespace kv::plugin
