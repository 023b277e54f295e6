#include "db/JetSql.h"

#include "db/Errors.h"
#include "vb/Failure.h"

#include <charconv>
#include <optional>

namespace db {

namespace {

struct Token {
    enum class Kind { End, Ident, Number, String, Op };
    Kind kind = Kind::End;
    QString text; // identifier (as written), operator, or string value
    SqlParam number;
    int pos = 0;
};

// Nesting the statement may reach: brackets, functions, not and unary
// signs. Both this recursive descent and SQLite's parser, whose stack holds
// about thirty nested calls, stay well inside it.
constexpr int MaxDepth = 16;

// SQLite takes at most 127 arguments to a function; a longer run of + is
// split into nested calls.
constexpr int MaxPlusTerms = 100;

[[noreturn]] void syntax(const QString& what)
{
    vb::raise(err::Syntax, QStringLiteral("Syntax error in statement: %1.").arg(what));
}

class Lexer {
public:
    explicit Lexer(const QString& s) : s_(s) {}

    std::vector<Token> tokens()
    {
        std::vector<Token> out;
        while (true) {
            skipBlanks();
            Token t;
            t.pos = i_;
            if (i_ >= s_.size()) {
                out.push_back(t);
                return out;
            }
            const QChar c = s_[i_];
            if (isIdentStart(c)) {
                const int start = i_;
                while (i_ < s_.size() && isIdentPart(s_[i_]))
                    ++i_;
                t.kind = Token::Kind::Ident;
                t.text = s_.mid(start, i_ - start);
            } else if (c == QLatin1Char('[')) {
                const int close = s_.indexOf(QLatin1Char(']'), i_ + 1);
                if (close < 0)
                    syntax(QStringLiteral("unclosed ["));
                t.kind = Token::Kind::Ident;
                t.text = s_.mid(i_ + 1, close - i_ - 1);
                for (QChar ch : t.text)
                    if (!isIdentPart(ch))
                        syntax(QStringLiteral("bad name [%1]").arg(t.text));
                if (t.text.isEmpty())
                    syntax(QStringLiteral("empty name"));
                i_ = close + 1;
            } else if (isDigit(c) || (c == QLatin1Char('.') && i_ + 1 < s_.size() && isDigit(s_[i_ + 1]))) {
                t.kind = Token::Kind::Number;
                t.number = number();
            } else if (c == QLatin1Char('\'')) {
                t.kind = Token::Kind::String;
                t.text = string();
            } else {
                t.kind = Token::Kind::Op;
                static const char* const two[] = {"<>", "<=", ">="};
                bool done = false;
                for (const char* op : two) {
                    if (s_.mid(i_, 2) == QLatin1String(op)) {
                        t.text = QLatin1String(op);
                        i_ += 2;
                        done = true;
                        break;
                    }
                }
                if (!done) {
                    if (!QStringLiteral("(),=<>+-;").contains(c))
                        syntax(QStringLiteral("unexpected character '%1'").arg(c));
                    t.text = c;
                    ++i_;
                }
            }
            out.push_back(t);
        }
    }

private:
    static bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
    static bool isIdentStart(QChar c)
    {
        return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            || c == QLatin1Char('_');
    }
    static bool isIdentPart(QChar c) { return isIdentStart(c) || isDigit(c); }

    void skipBlanks()
    {
        while (i_ < s_.size()
               && (s_[i_] == QLatin1Char(' ') || s_[i_] == QLatin1Char('\t') || s_[i_] == QLatin1Char('\r')
                   || s_[i_] == QLatin1Char('\n')))
            ++i_;
    }

    SqlParam number()
    {
        const int start = i_;
        bool real = false;
        while (i_ < s_.size() && isDigit(s_[i_]))
            ++i_;
        if (i_ < s_.size() && s_[i_] == QLatin1Char('.')) {
            real = true;
            ++i_;
            while (i_ < s_.size() && isDigit(s_[i_]))
                ++i_;
        }
        if (i_ < s_.size() && (s_[i_] == QLatin1Char('e') || s_[i_] == QLatin1Char('E'))) {
            real = true;
            ++i_;
            if (i_ < s_.size() && (s_[i_] == QLatin1Char('+') || s_[i_] == QLatin1Char('-')))
                ++i_;
            const int digits = i_;
            while (i_ < s_.size() && isDigit(s_[i_]))
                ++i_;
            if (i_ == digits)
                syntax(QStringLiteral("bad number"));
        }
        if (i_ < s_.size() && isIdentPart(s_[i_]))
            syntax(QStringLiteral("bad number"));
        const QByteArray text = s_.mid(start, i_ - start).toLatin1();
        const char* first = text.constData();
        const char* last = first + text.size();
        if (!real) {
            std::int64_t v = 0;
            const auto r = std::from_chars(first, last, v);
            if (r.ec == std::errc() && r.ptr == last)
                return v;
        }
        // A leading "." is valid here but not for from_chars.
        QByteArray withZero = text.startsWith('.') ? "0" + text : text;
        double d = 0;
        const auto r = std::from_chars(withZero.constData(), withZero.constData() + withZero.size(), d);
        if (r.ec != std::errc() || r.ptr != withZero.constData() + withZero.size())
            syntax(QStringLiteral("bad number"));
        return d;
    }

    QString string()
    {
        QString out;
        ++i_;
        while (true) {
            if (i_ >= s_.size())
                syntax(QStringLiteral("unclosed text"));
            if (s_[i_] == QLatin1Char('\'')) {
                if (i_ + 1 < s_.size() && s_[i_ + 1] == QLatin1Char('\'')) {
                    out += QLatin1Char('\'');
                    i_ += 2;
                    continue;
                }
                ++i_;
                return out;
            }
            out += s_[i_++];
        }
    }

    const QString& s_;
    int i_ = 0;
};

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : t_(std::move(tokens)) {}

    Translation statement()
    {
        Translation tr;
        if (keyword("select"))
            select(tr);
        else if (keyword("update"))
            update(tr);
        else
            syntax(QStringLiteral("expected select or update"));
        // One trailing ";" is allowed; anything after it is a second statement.
        if (op(";") && peek().kind != Token::Kind::End)
            syntax(QStringLiteral("characters found after end of statement"));
        if (peek().kind != Token::Kind::End)
            syntax(QStringLiteral("unexpected '%1'").arg(peek().text));
        tr.params = std::move(params_);
        return tr;
    }

private:
    const Token& peek() const { return t_[k_]; }
    const Token& next() { return t_[k_ < t_.size() - 1 ? k_++ : k_]; }

    bool isKeyword(const char* word) const
    {
        return peek().kind == Token::Kind::Ident && peek().text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool keyword(const char* word)
    {
        if (!isKeyword(word))
            return false;
        ++k_;
        return true;
    }
    void expectKeyword(const char* word)
    {
        if (!keyword(word))
            syntax(QStringLiteral("expected %1").arg(QLatin1String(word)));
    }
    bool op(const char* o)
    {
        if (peek().kind == Token::Kind::Op && peek().text == QLatin1String(o)) {
            ++k_;
            return true;
        }
        return false;
    }
    void expectOp(const char* o)
    {
        if (!op(o))
            syntax(QStringLiteral("expected '%1'").arg(QLatin1String(o)));
    }

    static bool reserved(const QString& word)
    {
        static const char* const words[] = {"select", "from", "where", "order", "by",    "asc",
                                            "desc",   "and",  "or",    "not",   "in",    "update",
                                            "set",    "null", "is",    "like",  "union", "join"};
        for (const char* w : words)
            if (word.compare(QLatin1String(w), Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }

    QString name()
    {
        if (peek().kind != Token::Kind::Ident || reserved(peek().text))
            syntax(QStringLiteral("expected a name"));
        return next().text;
    }

    // One level of nesting, for as long as it lives.
    class Nest {
    public:
        explicit Nest(Parser& p) : p_(p)
        {
            if (++p_.depth_ > MaxDepth)
                syntax(QStringLiteral("expression nested too deeply"));
        }
        ~Nest() { --p_.depth_; }
        Nest(const Nest&) = delete;
        Nest& operator=(const Nest&) = delete;

    private:
        Parser& p_;
    };

    void select(Translation& tr)
    {
        tr.kind = Translation::Kind::Select;
        do
            tr.columns << name();
        while (op(","));
        expectKeyword("from");
        tr.table = name();
        std::string sql = "SELECT rowid FROM " + quotedName(tr.table);
        if (keyword("where"))
            sql += " WHERE " + expr();
        if (keyword("order")) {
            expectKeyword("by");
            sql += " ORDER BY ";
            bool first = true;
            do {
                if (!first)
                    sql += ", ";
                first = false;
                sql += expr();
                if (keyword("desc"))
                    sql += " DESC";
                else if (keyword("asc"))
                    sql += " ASC";
            } while (op(","));
        }
        tr.sql = sql;
    }

    void update(Translation& tr)
    {
        tr.kind = Translation::Kind::Update;
        tr.table = name();
        expectKeyword("set");
        std::string sets;
        struct Assignment {
            std::string column;
            std::size_t start; // first token of the value
            bool literal;
        };
        std::vector<Assignment> assigned;
        do {
            const QString column = name();
            expectOp("=");
            const std::size_t start = k_;
            const std::string value = expr();
            const bool literal =
                k_ == start + 1 && (t_[start].kind == Token::Kind::Number || t_[start].kind == Token::Kind::String);
            sets += (sets.empty() ? "" : ", ") + quotedName(column) + " = " + value;
            assigned.push_back({quotedName(column), start, literal});
        } while (op(","));
        std::string where;
        if (keyword("where"))
            where = expr();
        const std::size_t end = k_;
        // Rows that already hold the new values are left alone: clearing the
        // answers then writes only the rows that were answered.
        std::string changed;
        if (assigned.size() == 1 && assigned[0].literal) {
            // One column set to a literal: the rows that differ from it, in
            // a form an index on the column can serve.
            const std::string& column = assigned[0].column;
            k_ = assigned[0].start;
            const std::string below = expr();
            k_ = assigned[0].start;
            const std::string above = expr();
            changed = column + " IS NULL OR " + column + " < " + below + " OR " + column + " > " + above;
        } else {
            std::string unchanged;
            for (const Assignment& a : assigned) {
                k_ = a.start;
                unchanged += (unchanged.empty() ? "" : " AND ") + a.column + " IS (" + expr() + ")";
            }
            changed = "NOT (" + unchanged + ")";
        }
        k_ = end;
        tr.sql = "UPDATE " + quotedName(tr.table) + " SET " + sets + " WHERE "
            + (where.empty() ? "" : "(" + where + ") AND ") + "(" + changed + ")";
    }

    std::string param(SqlParam p)
    {
        params_.push_back(std::move(p));
        return "?";
    }

    std::string expr() { return orExpr(); }

    // Chains of one operator are written as chains, with no brackets added:
    // SQLite's precedence of or, and, not, comparisons, + and - is Jet's
    // for every expression this grammar accepts, and each operand is
    // appended once, so the translation takes linear time.
    std::string orExpr()
    {
        std::string out = andExpr();
        while (keyword("or"))
            out += " OR " + andExpr();
        return out;
    }

    std::string andExpr()
    {
        std::string out = notExpr();
        while (keyword("and"))
            out += " AND " + notExpr();
        return out;
    }

    std::string notExpr()
    {
        if (keyword("not")) {
            Nest nest(*this);
            return "NOT " + notExpr();
        }
        return comparison();
    }

    std::string comparison()
    {
        std::string left = additive();
        static const char* const ops[] = {"=", "<>", "<=", ">=", "<", ">"};
        for (const char* o : ops)
            if (op(o))
                return left + " " + o + " " + additive();
        const bool negated = isKeyword("not") && t_[k_ + 1].kind == Token::Kind::Ident
            && t_[k_ + 1].text.compare(QLatin1String("in"), Qt::CaseInsensitive) == 0;
        if (negated)
            ++k_;
        if (keyword("in")) {
            expectOp("(");
            std::string list;
            do {
                // Only numbers may stand in the list: an id read from a bank
                // can never turn into anything but a value.
                bool minus = op("-");
                if (peek().kind != Token::Kind::Number)
                    syntax(QStringLiteral("in() takes numbers only"));
                SqlParam n = next().number;
                if (minus)
                    std::visit(
                        [](auto& v) {
                            if constexpr (!std::is_same_v<std::decay_t<decltype(v)>, QString>)
                                v = -v;
                        },
                        n);
                list += (list.empty() ? "" : ", ") + param(n);
            } while (op(","));
            expectOp(")");
            return left + (negated ? " NOT IN (" : " IN (") + list + ")";
        }
        if (negated)
            syntax(QStringLiteral("expected in"));
        return left;
    }

    // Jet's + joins texts and adds numbers, so a chain with a + in it runs
    // through vb_plus, which takes the whole chain in one call and folds it
    // from the left; a - becomes the next term negated, which gives the
    // same value, as either turns a text into a number. A chain of - alone
    // is SQLite's.
    std::string additive()
    {
        std::vector<std::string> terms{unary()};
        bool plus = false;
        std::optional<Nest> inPlus; // the terms after a + stand inside vb_plus
        while (true) {
            if (op("+")) {
                plus = true;
                if (!inPlus)
                    inPlus.emplace(*this);
                terms.push_back(unary());
            } else if (op("-")) {
                terms.push_back("- " + unary());
            } else {
                break;
            }
        }
        if (!plus) {
            std::string out = terms[0];
            for (std::size_t i = 1; i < terms.size(); ++i)
                out += " " + terms[i];
            return out;
        }
        // A call in SQLite takes at most 127 arguments: a longer chain is
        // split, each part the first term of the next, which nests.
        std::string out;
        std::size_t next = 0;
        for (int level = 0; next < terms.size(); ++level) {
            if (level && depth_ + level > MaxDepth)
                syntax(QStringLiteral("expression nested too deeply"));
            std::string part = "vb_plus(" + (level ? out : terms[next++]);
            for (int n = 1; n < MaxPlusTerms && next < terms.size(); ++n)
                part += ", " + terms[next++];
            out = part + ")";
        }
        return out;
    }

    std::string unary()
    {
        if (op("-")) {
            Nest nest(*this);
            return "- " + unary();
        }
        if (op("+")) {
            Nest nest(*this);
            return unary();
        }
        return primary();
    }

    std::string primary()
    {
        const Token& t = peek();
        switch (t.kind) {
        case Token::Kind::Number: return param(next().number);
        case Token::Kind::String: return param(next().text);
        case Token::Kind::Op:
            if (op("(")) {
                Nest nest(*this);
                std::string inner = expr();
                expectOp(")");
                return "(" + inner + ")";
            }
            syntax(QStringLiteral("unexpected '%1'").arg(t.text));
        case Token::Kind::Ident: {
            const QString n = name();
            if (op("("))
                return call(n);
            return quotedName(n);
        }
        case Token::Kind::End: break;
        }
        syntax(QStringLiteral("unexpected end"));
    }

    std::string call(const QString& fn)
    {
        struct Fn {
            const char* jet;
            const char* sqlite;
            int arity;
        };
        static const Fn fns[] = {{"rnd", "vb_rnd", 1}, {"instr", "vb_instr", 2}, {"cstr", "vb_cstr", 1}};
        for (const Fn& f : fns) {
            if (fn.compare(QLatin1String(f.jet), Qt::CaseInsensitive) != 0)
                continue;
            Nest nest(*this);
            std::string args;
            for (int i = 0; i < f.arity; ++i) {
                if (i)
                    expectOp(",");
                args += (i ? ", " : "") + expr();
            }
            expectOp(")");
            return std::string(f.sqlite) + "(" + args + ")";
        }
        syntax(QStringLiteral("unknown function %1").arg(fn));
    }

    std::vector<Token> t_;
    std::size_t k_ = 0;
    std::vector<SqlParam> params_;
    int depth_ = 0;
};

} // namespace

std::string quotedName(const QString& name)
{
    return "[" + name.toStdString() + "]";
}

Translation translateJet(const QString& statement)
{
    Lexer lexer(statement);
    Parser parser(lexer.tokens());
    return parser.statement();
}

} // namespace db
